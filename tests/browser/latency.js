// How long the page takes to show the result of an action on the 512-display
// installation of the benchmarks (bench/make_installation.py): 50 actions,
// the view dialog opened from the toolbar and closed by its window button in
// turn, then 20 views selected by a click in the tree, each timed in the page
// from the click to the page showing the dialog open or closed, or the view
// marked (the state pushed after the action, parsed and drawn; the tree of
// some 2,300 nodes stays as it is). Prints the median and the 95th
// percentile against the target of 50 ms. This machine is shared and
// loaded, so the test fails only beyond 250 ms: what a whole redraw of the
// tree, or a compressed state, costs (seconds), not what a busy neighbour
// does.
//
// node latency.js KORVRC_BINARY SCREENSHOT_FOLDER
'use strict';
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { runScenario } = require('./harness');

const kDisplays = 512;
const kActions = 50;
const kSelections = 20;
const kTarget = 50; // milliseconds, for 95% of the actions
const kLimit = 250; // milliseconds: beyond, the page has a fault

const serveArguments = (work) => {
  const description = path.join(work, `installation-${kDisplays}.json`);
  fs.writeFileSync(description, execFileSync('python3',
    [path.join(__dirname, '..', '..', 'bench', 'make_installation.py'), String(kDisplays)]));
  return [description, '--export-dir', path.join(work, 'export')];
};

// Clicks what iClicked selects and resolves with the milliseconds until the
// page holds (iPresent) or lacks what iWanted selects.
function timeAction(clicked, wanted, present) {
  return new Promise((resolve, reject) => {
    const shown = () => (document.querySelector(wanted) !== null) === present;
    const start = performance.now();
    const observer = new MutationObserver(() => {
      if (!shown()) return;
      observer.disconnect();
      clearTimeout(timer);
      resolve(performance.now() - start);
    });
    const timer = setTimeout(() => {
      observer.disconnect();
      reject(new Error(`${wanted} is never ${present ? 'shown' : 'gone'}`));
    }, 10000);
    observer.observe(document.querySelector('main'),
      { subtree: true, childList: true, attributes: true, attributeFilter: ['class'] });
    document.querySelector(clicked).click();
  });
}

const percentile = (sorted, share) => sorted[Math.min(sorted.length - 1, Math.ceil(share * sorted.length) - 1)];

runScenario('latency', serveArguments, async ({ page }) => {
  await page.waitForSelector(`[data-element="view:View${kDisplays - 1}"]`, { timeout: 30000 });
  // Time the actions once the page has loaded what it shows at the start:
  // the schematic and the whole 3D scene (4 MB for so many displays, some
  // seconds to read and draw on a software renderer).
  await page.waitForFunction((last) => {
    const schematic = document.getElementById('schematic');
    const drawn = (document.getElementById('scene').dataset.elements ?? '').split(' ');
    return schematic.getAttribute('src') !== null && schematic.complete && drawn.includes(last);
  }, { timeout: 60000 }, `view:View${kDisplays - 1}`);
  // The view dialog opened from the toolbar and closed by its window button,
  // in turn; then elements selected in the tree, each marked there.
  const dialog = '[data-window="KORVrcViewDlg"]';
  const series = [...Array(kActions).keys()].map((action) => (action % 2 === 0
    ? ['the view dialog', '[data-action="start btnCreateView"]', dialog, true]
    : ['the view dialog', `${dialog} [data-action="close"]`, dialog, false]));
  for (let view = 0; view < kSelections; view++) {
    const label = `#tree [data-element="view:View${view * 7}"]`;
    series.push(['a selection', label, `${label}.selected`, true]);
  }
  const times = new Map();
  for (const [kind, clicked, wanted, present] of series) {
    if (!times.has(kind)) times.set(kind, []);
    times.get(kind).push(await page.evaluate(timeAction, clicked, wanted, present));
    // The next click once the page is at rest, as a person's would be.
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  for (const [kind, measured] of times) {
    measured.sort((a, b) => a - b);
    const median = percentile(measured, 0.5);
    const p95 = percentile(measured, 0.95);
    console.log(`${measured.length} actions on ${kDisplays} displays (${kind}): median ${median.toFixed(1)} ms, ` +
      `95th percentile ${p95.toFixed(1)} ms (target ${kTarget} ms: ${p95 <= kTarget ? 'met' : 'missed'}), ` +
      `slowest ${measured[measured.length - 1].toFixed(1)} ms; load average ${os.loadavg()[0].toFixed(1)} ` +
      `on ${os.cpus().length} processors`);
    if (p95 > kLimit) throw new Error(`${kind}: 95th percentile ${p95.toFixed(1)} ms is beyond ${kLimit} ms`);
  }
});
