// Writes a recorded tracking run (docs/tracking-source.md) for the browser
// tests: the controller sees the head's body 1 and the hand's body 2 move
// along X, `rate` frames a second for `seconds`.
'use strict';
const fs = require('node:fs');

function writeRecording(file, { rate, seconds }) {
  const records = ['kortrack/1\n'];
  const identity = '[1 0 0 0 1 0 0 0 1]';
  for (let frame = 0; frame < rate * seconds; frame++) {
    const x = (100 + frame).toFixed(1);
    const datagram = `fr ${frame}\n6d 2 [1 1.0][${x} 0 1700 0 0 0]${identity} ` +
      `[2 1.0][${x} 200 1100 0 0 0]${identity}\n`;
    records.push(`${(frame / rate).toFixed(6)} ${Buffer.byteLength(datagram)}\n${datagram}\n`);
  }
  fs.writeFileSync(file, records.join(''));
}

module.exports = { writeRecording };
