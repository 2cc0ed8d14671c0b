// Creates a view through the toolbar and its dialog and checks that it
// appears in the specification tree. Prints the time from the click on OK to
// the tree showing the view, and keeps a screenshot.
//
// node create-view.js KORVRC_BINARY SCREENSHOT_FOLDER
'use strict';
const path = require('node:path');
const { click, type, runScenario } = require('./harness');

runScenario('create a view', [], async ({ page, screenshotFolder }) => {
  await page.waitForSelector('[data-element="view:Front"]');
  await click(page, '[data-action="start btnCreateView"]');
  const name = '[data-window="KORVrcViewDlg"] [data-widget="NameEditor"]';
  await type(page, name, 'Side');
  // The dialog is drawn again once the name is set.
  await page.waitForFunction((selector) => document.querySelector(selector)?.value === 'Side', {}, name);
  const start = Date.now();
  await click(page, '[data-window="KORVrcViewDlg"] [data-action="press OK"]');
  // The view in the tree and the dialog gone, in one drawing.
  const done = await page.waitForFunction(() =>
    document.querySelector('[data-element="view:Side"]') !== null &&
    document.querySelector('[data-window]') === null, { timeout: 5000 }).catch(() => null);
  const shownAfter = Date.now() - start;
  const screenshot = path.join(screenshotFolder, 'create-view.png');
  await page.screenshot({ path: screenshot });
  if (!done) throw new Error('after OK the tree does not show view:Side with the dialog closed');
  console.log(`view:Side shown in the tree ${shownAfter} ms after OK; screenshot ${screenshot}`);
});
