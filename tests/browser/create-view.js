// Creates a view through the toolbar and its dialog and checks that it
// appears in the specification tree. Prints the time from the click on OK to
// the tree showing the view, and keeps a screenshot.
//
// node create-view.js KORVRC_BINARY SCREENSHOT_FOLDER
'use strict';
const path = require('node:path');
const { click, nameView, runScenario } = require('./harness');

runScenario('create a view', [], async ({ page, screenshotFolder }) => {
  await page.waitForSelector('[data-element="view:Front"]');
  await click(page, '[data-action="start btnCreateView"]');
  const shownAfter = await nameView(page, 'Side');
  const screenshot = path.join(screenshotFolder, 'create-view.png');
  await page.screenshot({ path: screenshot });
  if (shownAfter > 5000)
    throw new Error(`the tree showed view:Side only ${shownAfter} ms after OK`);
  console.log(`view:Side shown in the tree ${shownAfter} ms after OK; screenshot ${screenshot}`);
});
