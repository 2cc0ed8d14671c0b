// Validates glTF files with the Khronos glTF validator and fails when any of
// them has an error. Usage: node tools/validate-gltf.js FILE.glb...
'use strict';
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

async function check(file) {
  const bytes = new Uint8Array(fs.readFileSync(file));
  const report = await validator.validateBytes(bytes, {
    uri: path.basename(file),
    maxIssues: 100,
    externalResourceFunction: () => Promise.reject(new Error('no external resources')),
  });
  for (const message of report.issues.messages) {
    const severity = ['error', 'warning', 'info', 'hint'][message.severity];
    if (message.severity <= 1)
      console.log(`${file}: ${severity} ${message.code} at ${message.pointer || '-'}: ${message.message}`);
  }
  console.log(`${file}: ${report.issues.numErrors} errors, ${report.issues.numWarnings} warnings`);
  return report.issues.numErrors === 0;
}

(async () => {
  const files = process.argv.slice(2);
  if (files.length === 0) {
    console.error('usage: node tools/validate-gltf.js FILE.glb...');
    process.exit(2);
  }
  let ok = true;
  for (const file of files) ok = (await check(file)) && ok;
  process.exit(ok ? 0 : 1);
})().catch((error) => {
  console.error(error.message);
  process.exit(2);
});
