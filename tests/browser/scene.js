// The 3D view: a view created through the toolbar appears in the scene as a
// piece named for it; a click on a screen selects it in the tree and the
// view highlights it; while the snap command runs a click picks the screen
// at the model point hit; a double-click opens its dialog; a tracker selected in
// the tree is dragged with the manipulator's arrow (real mouse events) and
// its dialog shows the new offset; the screenshot's 3D area is not blank.
//
// node scene.js KORVRC_BINARY SCREENSHOT_FOLDER
'use strict';
const path = require('node:path');
const { click, doubleClick, nameView, runScenario } = require('./harness');

const inScene = (page, name) => page.waitForFunction((wanted) =>
  (document.getElementById('scene').dataset.elements ?? '').split(' ').includes(wanted),
{ timeout: 10000 }, name);

// The page's 3D view module: the same instance the page runs.
const elementOnPage = (page, name) =>
  page.evaluate(async (wanted) => (await import('/scene.js')).elementOnPage(wanted), name);
const manipulatorGrip = (page, axis) =>
  page.evaluate(async (wanted) => (await import('/scene.js')).manipulatorGrip(wanted), axis);

async function fieldValue(page, selector) {
  await page.waitForSelector(selector);
  return page.$eval(selector, (input) => input.value);
}

runScenario('3D view', [], async ({ page, screenshotFolder }) => {
  await inScene(page, 'view:Front');

  // A new view appears in the scene.
  await click(page, '[data-action="start btnCreateView"]');
  await nameView(page, 'Side');
  await inScene(page, 'view:Side');

  // A click on the right screen's centre selects it in the tree, and the
  // view highlights it.
  const right = await elementOnPage(page, 'view:Right');
  await page.mouse.click(right.x, right.y);
  await page.waitForFunction(() =>
    document.querySelector('[data-element="view:Right"]')?.classList.contains('selected') &&
    document.getElementById('scene').dataset.highlighted === 'view:Right', { timeout: 5000 });
  await page.screenshot({ path: path.join(screenshotFolder, 'scene-selected.png') });

  // While a command waits for screens, a click picks one at the model point
  // hit, in millimetres (away from the centre, where the manipulator is).
  await click(page, '[data-action="start btnSnap"]');
  await page.waitForFunction(() => document.getElementById('scene').dataset.commandRunning === 'true');
  const aside = await page.evaluate(async () => (await import('/scene.js')).pointOnPage([-1000, -1500, -1000]));
  await page.mouse.click(aside.x, aside.y);
  const picked = await page.waitForFunction(() =>
    document.getElementById('status').textContent.match(/^pick view:Right at (\S+) (\S+) (\S+)$/)
      ?.slice(1).map(Number), { timeout: 5000 }).then((handle) => handle.jsonValue());
  if (Math.abs(picked[0] + 1000) > 20 || Math.abs(picked[1] + 1500) > 0.01 || Math.abs(picked[2] + 1000) > 20)
    throw new Error(`the pick was sent at ${picked.join(' ')}, not at -1000 -1500 -1000`);

  // A double-click edits it (which ends the snap command).
  await page.mouse.click(right.x, right.y, { clickCount: 2 });
  const name = '[data-window="KORVrcViewDlg"] [data-widget="NameEditor"]';
  if (await fieldValue(page, name) !== 'Right') throw new Error('the double-click did not open view:Right');
  await click(page, '[data-window="KORVrcViewDlg"] [data-action="press Cancel"]');
  await page.waitForFunction(() => document.querySelector('[data-window]') === null);

  // The tracker selected in the tree gets the manipulator; its X arrow is
  // dragged along the arrow's direction on the page.
  await click(page, '[data-element="tracker:Tracker/1"]');
  await page.waitForFunction(() =>
    document.getElementById('scene').dataset.manipulated === 'tracker:Tracker/1', { timeout: 5000 });
  const grip = await manipulatorGrip(page, 'X');
  await page.mouse.move(grip.x, grip.y);
  await page.mouse.down();
  await page.mouse.move(grip.x + 60 * grip.dx, grip.y + 60 * grip.dy, { steps: 10 });
  await page.mouse.up();
  const sent = await page.waitForFunction(() =>
    document.getElementById('status').textContent.match(/^drag tracker:Tracker\/1 by (\S+) (\S+) (\S+)$/)
      ?.slice(1).map(Number), { timeout: 5000 }).then((handle) => handle.jsonValue());
  const [dx, dy, dz] = sent;
  if (!(dx > 10) || dy !== 0 || dz !== 0) throw new Error(`the drag sent ${sent.join(' ')}`);

  // The tracker follows the head, which is not turned: its offset moved by
  // the drag along x.
  await doubleClick(page, '[data-element="tracker:Tracker/1"]');
  const offset = Number(await fieldValue(page, '[data-window="KORVrcTrackerDlg"] [data-widget="XSpinEdit"]'));
  if (Math.abs(offset - dx) > 0.01) throw new Error(`the dialog shows the offset x ${offset}, not ${dx}`);
  await click(page, '[data-window="KORVrcTrackerDlg"] [data-action="press Cancel"]');
  await page.waitForFunction(() => document.querySelector('[data-window]') === null);

  // The 3D area is drawn: many colours, most pixels off the background.
  const colours = await page.evaluate(() => {
    const canvas = document.querySelector('#scene canvas');
    const copy = new OffscreenCanvas(canvas.width, canvas.height).getContext('2d');
    copy.drawImage(canvas, 0, 0);
    const pixels = copy.getImageData(0, 0, canvas.width, canvas.height).data;
    const seen = new Set();
    let drawn = 0;
    for (let index = 0; index < pixels.length; index += 4) {
      const colour = (pixels[index] << 16) | (pixels[index + 1] << 8) | pixels[index + 2];
      seen.add(colour);
      if (colour !== 0xf2f4f7) drawn += 1;
    }
    return { distinct: seen.size, drawn: drawn / (pixels.length / 4) };
  });
  const screenshot = path.join(screenshotFolder, 'scene.png');
  await page.screenshot({ path: screenshot });
  if (colours.distinct < 20 || colours.drawn < 0.1)
    throw new Error(`the 3D view looks blank: ${colours.distinct} colours, ${colours.drawn} drawn`);
  console.log(`picked view:Right at ${picked.join(' ')}; dragged tracker:Tracker/1 by ${dx} mm along x; ` +
    `the 3D view shows ${colours.distinct} colours on ${Math.round(colours.drawn * 100)}% of its pixels; screenshot ${screenshot}`);
});
