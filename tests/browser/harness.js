// What every browser test of the workbench shares: `korvrc serve` started on
// a document, Debian's Chromium launched headless on its page (never a
// downloaded browser), and clicks that survive the page's redrawing.
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

// Resolves with the address korvrc prints once it listens. The runtime's
// registry lives in iSettings, never in the user's own.
function startServer(binary, serveArguments, settings) {
  const server = spawn(binary, ['serve', ...serveArguments], {
    stdio: ['ignore', 'pipe', 'inherit'], env: { ...process.env, KORUserSettingPath: settings } });
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

// Types iValue into a field the way a person's edit ends: a change event.
async function type(page, selector, value) {
  await page.waitForSelector(selector);
  await page.evaluate((wanted, text) => {
    const input = document.querySelector(wanted);
    input.value = text;
    input.dispatchEvent(new Event('change'));
  }, selector, value);
}

async function doubleClick(page, selector) {
  await page.waitForSelector(selector);
  await page.evaluate((wanted) => document.querySelector(wanted)
    .dispatchEvent(new MouseEvent('dblclick', { bubbles: true })), selector);
}

async function waitFor(page, what, predicate, ...values) {
  const done = await page.waitForFunction(predicate, { timeout: 10000 }, ...values)
    .catch(() => null);
  if (!done) throw new Error(`the page never showed ${what}`);
}

// Names the view in the open view dialog and confirms it; resolves with the
// milliseconds from the click on OK to the tree showing the view with the
// dialog closed (in one drawing).
async function nameView(page, name) {
  const dialog = '[data-window="KORVrcViewDlg"]';
  const editor = `${dialog} [data-widget="NameEditor"]`;
  await type(page, editor, name);
  // The dialog is drawn again once the name is set.
  await waitFor(page, `the name ${name} in the dialog`,
    (selector, text) => document.querySelector(selector)?.value === text, editor, name);
  const start = Date.now();
  await click(page, `${dialog} [data-action="press OK"]`);
  await waitFor(page, `view:${name} in the tree with the dialog closed`, (element) =>
    document.querySelector(`[data-element="${element}"]`) !== null &&
    document.querySelector('[data-window]') === null, `view:${name}`);
  return Date.now() - start;
}

// Runs iScenario(page, url) against `korvrc serve BINARY ...serveArguments`,
// with the page loaded and its toolbar ready; fails on any error the page
// raises. Exits the process with the outcome. serveArguments may be a
// function of the scenario's scratch folder (removed at the end), which the
// scenario also receives as workFolder.
function runScenario(name, serveArguments, scenario) {
  const [binary, screenshotFolder] = process.argv.slice(2);
  if (!binary || !screenshotFolder) {
    console.error(`usage: node ${path.basename(process.argv[1])} KORVRC_BINARY SCREENSHOT_FOLDER`);
    process.exit(2);
  }
  const main = async () => {
    const workFolder = fs.mkdtempSync(path.join(os.tmpdir(), 'korvrc-scenario-'));
    const { server, address } = startServer(binary,
      typeof serveArguments === 'function' ? serveArguments(workFolder) : serveArguments,
      path.join(workFolder, 'settings'));
    fs.mkdirSync(screenshotFolder, { recursive: true });
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
          // No GPU here: WebGL (the 3D view) runs on Chromium's software renderer.
          '--enable-unsafe-swiftshader',
          `--user-data-dir=${profile}`],
      });
      const page = await browser.newPage();
      await page.setViewport({ width: 1400, height: 800 });
      const problems = [];
      page.on('pageerror', (error) => problems.push(error.message));
      await page.goto(url);
      await page.waitForSelector('[data-action="start btnCreateView"]:not([disabled])');
      await scenario({ page, url, screenshotFolder, workFolder });
      if (problems.length) throw new Error(`the page failed: ${problems.join('; ')}`);
    } finally {
      if (browser) await browser.close();
      server.kill('SIGTERM');
      fs.rmSync(profile, { recursive: true, force: true });
      fs.rmSync(workFolder, { recursive: true, force: true });
    }
  };
  main().catch((error) => {
    console.error(`${name}: ${error.message}`);
    process.exit(1);
  });
}

module.exports = { click, type, doubleClick, waitFor, nameView, runScenario };
