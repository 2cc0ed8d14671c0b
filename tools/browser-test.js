// The browser workbench in Debian's Chromium, headless: starts `korvrc serve`
// on the bundled example, creates a view through the toolbar and its dialog,
// and checks that it appears in the specification tree. Prints the time from
// the click on OK to the tree showing the view, and writes a screenshot.
//
// node browser-test.js KORVRC_BINARY SCREENSHOT.png
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const [binary, screenshot] = process.argv.slice(2);
if (!binary || !screenshot) {
  console.error('usage: node browser-test.js KORVRC_BINARY SCREENSHOT.png');
  process.exit(2);
}

// Resolves with the address korvrc prints once it listens.
function startServer() {
  const server = spawn(binary, ['serve'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = new Promise((resolve, reject) => {
    let printed = '';
    server.stdout.on('data', (chunk) => {
      printed += chunk;
      const found = printed.match(/at (http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+)/);
      if (found) resolve(found[1]);
    });
    server.on('exit', (code) => reject(new Error(`korvrc serve ended with ${code}: ${printed}`)));
  });
  return { server, address };
}

// The page redraws after every change: find and click in one step, in the page.
async function click(page, selector) {
  await page.waitForSelector(selector);
  await page.evaluate((wanted) => document.querySelector(wanted).click(), selector);
}

async function main() {
  const { server, address } = startServer();
  fs.mkdirSync(path.dirname(screenshot), { recursive: true });
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'korvrc-chromium-'));
  let browser;
  try {
    const url = await address;
    // This machine's network is closed: no background connections.
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        `--user-data-dir=${profile}`],
    });
    const page = await browser.newPage();
    await page.setViewport({ width: 1400, height: 800 });
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    await page.goto(url);
    await page.waitForSelector('[data-action="start btnCreateView"]:not([disabled])');
    await page.waitForSelector('[data-element="view:Front"]');
    await click(page, '[data-action="start btnCreateView"]');
    await page.waitForSelector('[data-window="KORVrcViewDlg"] [data-widget="NameEditor"]');
    const name = '[data-window="KORVrcViewDlg"] [data-widget="NameEditor"]';
    await page.evaluate((selector) => {
      const input = document.querySelector(selector);
      input.value = 'Side';
      input.dispatchEvent(new Event('change'));
    }, name);
    // The dialog is drawn again once the name is set.
    await page.waitForFunction((selector) => document.querySelector(selector)?.value === 'Side', {}, name);
    const start = Date.now();
    await click(page, '[data-window="KORVrcViewDlg"] [data-action="press OK"]');
    // The view in the tree and the dialog gone, in one drawing.
    const done = await page.waitForFunction(() =>
      document.querySelector('[data-element="view:Side"]') !== null &&
      document.querySelector('[data-window]') === null, { timeout: 5000 }).catch(() => null);
    const shownAfter = Date.now() - start;
    await page.screenshot({ path: screenshot });
    if (problems.length) throw new Error(`the page failed: ${problems.join('; ')}`);
    if (!done) throw new Error('after OK the tree does not show view:Side with the dialog closed');
    console.log(`view:Side shown in the tree ${shownAfter} ms after OK; screenshot ${screenshot}`);
  } finally {
    if (browser) await browser.close();
    server.kill('SIGTERM');
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(`browser test: ${error.message}`);
  process.exit(1);
});
