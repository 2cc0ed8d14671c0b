// A session of work on the bundled four-wall room: a view created, renamed by
// double-click in the tree, the configuration exported into the export
// folder, the rename undone, then the live tracking test run on a recorded
// run at 120 frames a second: the head and hand placements change, the page
// shows at least 60 updates a second, and Stop puts them back.
//
// node workflow.js KORVRC_BINARY SCREENSHOT_FOLDER
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { click, doubleClick, waitFor, nameView, runScenario } = require('./harness');
const { writeRecording } = require('./recording');

const kRate = 120;
const kSeconds = 4;

const serveArguments = (work) => {
  writeRecording(path.join(work, 'run.kortrack'), { rate: kRate, seconds: kSeconds });
  return ['--export-dir', path.join(work, 'export'), '--replay', path.join(work, 'run.kortrack')];
};

const window = (name) => `[data-window="${name}"]`;

// Exports through the toolbar and the dialog, which opens on the export
// folder and shows it before a name inside it; the file lands there.
async function exportConfiguration(page, workFolder) {
  const exported = path.join(fs.realpathSync(workFolder), 'export', 'FourWallRoom.xml');
  fs.rmSync(exported, { force: true });
  await click(page, '[data-action="start btnGenerateXMLFile"]');
  const dialog = window('KORVrcGenerateXMLFileDlg');
  const directory = `${dialog} [data-widget="DirectoryEdt"]`;
  await page.waitForSelector(directory);
  const [folder, name] = await page.$eval(directory, (input) => [input.dataset.folder, input.value]);
  if (folder !== path.dirname(exported) || name !== '.')
    throw new Error(`the directory box shows ${folder} / ${name}, not the export folder`);
  await click(page, `${dialog} [data-action="press OK"]`);
  await waitFor(page, 'the export dialog closed', (selector) => document.querySelector(selector) === null, dialog);
  if (!fs.existsSync(exported)) throw new Error(`${exported} was not written`);
}

// The head's and the hand's placements as the tracking panel shows them.
const placements = (page) => Promise.all(['head', 'hand'].map((name) =>
  page.$eval(`[data-tracking="${name}"]`, (cell) => cell.textContent)));

runScenario('workflow', serveArguments, async ({ page, screenshotFolder, workFolder }) => {
  await page.waitForSelector('[data-element="view:Front"]');
  await click(page, '[data-action="start btnCreateView"]');
  await nameView(page, 'Side');

  // Edit by double-click: the dialog opens on the view; the new name shows in the tree.
  await doubleClick(page, '[data-element="view:Side"]');
  await waitFor(page, 'the edit dialog on view Side', (selector) =>
    document.querySelector(selector)?.value === 'Side',
  `${window('KORVrcViewDlg')} [data-widget="NameEditor"]`);
  await nameView(page, 'Top');
  if (await page.$('[data-element="view:Side"]')) throw new Error('view:Side is still in the tree');

  await exportConfiguration(page, workFolder);
  await click(page, '#undo');
  await waitFor(page, 'view:Side back after undo', () =>
    document.querySelector('[data-element="view:Side"]') !== null &&
    document.querySelector('[data-element="view:Top"]') === null);
  // The runtime must hold the configuration the test runs on: export it again.
  await exportConfiguration(page, workFolder);

  // The live tracking test on the recorded run.
  await click(page, '[data-action="start btnTestTracking"]');
  const dialog = window('KORVrcTestTrackingDlg');
  await waitFor(page, 'the tracking panel ready', () =>
    document.querySelector('[data-tracking="head"]')?.textContent !== '');
  const [headBefore, handBefore] = await placements(page);
  await click(page, `${dialog} [data-widget="CheckButton005"]`);
  await click(page, `${dialog} [data-widget="CheckButton006"]`);
  await click(page, `${dialog} [data-widget="PushButton007"]:not([disabled])`);
  await waitFor(page, 'the test running', () =>
    document.getElementById('tracking-panel')?.dataset.running === 'true');
  // Count what the page shows over two seconds in the middle of the run.
  await new Promise((resolve) => setTimeout(resolve, 1000));
  const start = await page.evaluate(() => [Number(document.getElementById('tracking-panel').dataset.updates), performance.now()]);
  const [headMoving] = await placements(page);
  await new Promise((resolve) => setTimeout(resolve, 2000));
  const end = await page.evaluate(() => [Number(document.getElementById('tracking-panel').dataset.updates), performance.now()]);
  const rate = ((end[0] - start[0]) * 1000) / (end[1] - start[1]);
  const [headMoved, handMoved] = await placements(page);
  await page.screenshot({ path: path.join(screenshotFolder, 'workflow-tracking.png') });
  if (headMoving === headMoved || headMoved === headBefore || handMoved === handBefore)
    throw new Error(`head and hand do not follow the run: ${headBefore} -> ${headMoving} -> ${headMoved}; ${handBefore} -> ${handMoved}`);

  await click(page, `${dialog} [data-widget="PushButton008"]:not([disabled])`);
  await waitFor(page, 'the test stopped', () =>
    document.getElementById('tracking-panel')?.dataset.running === 'false');
  const [headAfter, handAfter] = await placements(page);
  if (headAfter !== headBefore || handAfter !== handBefore)
    throw new Error(`Stop does not put them back: head ${headAfter} (was ${headBefore}), hand ${handAfter} (was ${handBefore})`);
  console.log(`live tracking from a ${kRate} Hz recording: the page showed ${rate.toFixed(1)} updates a second`);
  if (rate < 60) throw new Error(`the page showed ${rate.toFixed(1)} updates a second, fewer than 60`);
});
