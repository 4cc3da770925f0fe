// What the browser tests and figures share: Debian's Chromium driven by puppeteer-core, the
// built page served from this machine, and the page's narration read back as lines of coloured
// runs, the way a person sees them.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, resolve } from 'node:path';
import { after, before } from 'node:test';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const repo = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const site = process.env.MORVANE_WEB_SITE ?? join(repo, 'build/web/web/site');
export const nativeBin = process.env.MORVANE_NATIVE ?? join(repo, 'build/dev/morvane');
export const goldenDir = process.env.MORVANE_GOLDEN_DIR ?? join(repo, '../shared/golden');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

// A static server of the built page on a free port of the loopback address.
export async function serveSite() {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(site, path === '/' ? 'index.html' : path);
    if (!file.startsWith(site) || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'content-type': types[extname(file)] ?? 'application/octet-stream' });
    response.end(readFileSync(file));
  });
  await new Promise((ok) => server.listen(0, '127.0.0.1', ok));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((ok) => server.close(ok)),
  };
}

// Headless Chromium from Debian with a fresh profile; nothing reaches the network.
export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'morvane-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.MORVANE_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless=new',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      `--user-data-dir=${profile}`,
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// One browser and one served site for a group of tests: opened before its first test, closed
// after its last. The returned object's `browser` and `server` are set once the group starts.
export function browserAndSite() {
  const shared = {};
  before(async () => {
    shared.browser = await launch();
    shared.server = await serveSite();
  });
  after(async () => {
    await shared.browser?.close();
    await shared.server?.close();
  });
  return shared;
}

// A new tab that fails the test on any script error or console error.
export async function openPage(browser, url, { width = 900, height = 700 } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(`page error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') page.problems.push(`console error: ${message.text()}`);
  });
  page.on('requestfailed', (request) =>
    page.problems.push(`request failed: ${request.url()} ${request.failure()?.errorText}`),
  );
  await page.goto(url);
  return page;
}

export const state = (page) => page.evaluate(() => document.body.dataset.state);

// Waits until the page waits for the player (or is done) and returns that state.
export async function settled(page, timeout = 30000) {
  const handle = await page.waitForFunction(
    () => {
      const s = document.body.dataset.state;
      return ['key', 'reading', 'finished', 'refused', 'error'].includes(s) && s;
    },
    { timeout, polling: 'mutation' },
  );
  return handle.jsonValue();
}

// Types a line into the page's input and presses Enter, as a person would; a long line is
// pasted (set as the input's value at once).
export async function answer(page, text) {
  if (text.length > 80) {
    await page.$eval(
      '#line',
      (input, value) => {
        input.value = value;
        input.dispatchEvent(new Event('input', { bubbles: true }));
      },
      text,
    );
  } else {
    await page.type('#line', text);
  }
  await page.keyboard.press('Enter');
}

export async function chooseSpeed(page, label) {
  await page.click(`#speeds button[data-speed="${label}"]`);
}

// Gives each line as the page asks for it.
export async function answerEach(assert, page, lines) {
  for (const line of lines) {
    assert.equal(await settled(page), 'reading');
    await answer(page, line);
  }
}

// A whole game from its key wait: the speed, the key, each answer as asked, to the game's end.
export async function playGame(assert, page, lines, speed = 'instant') {
  assert.equal(await settled(page), 'key');
  await chooseSpeed(page, speed);
  await page.keyboard.press('Enter');
  await answerEach(assert, page, lines);
  assert.equal(await settled(page, 120000), 'finished');
}

// Records the page's states, with their times, and its main-thread tasks over 50 ms from the
// start (for evaluateOnNewDocument).
export function recordStatesAndTasks() {
  window.__states = [];
  window.__longTasks = [];
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) window.__longTasks.push(entry.duration);
  }).observe({ type: 'longtask', buffered: true });
  const note = () => window.__states.push([document.body.dataset.state, performance.now()]);
  document.addEventListener('DOMContentLoaded', () => {
    note();
    new MutationObserver(note).observe(document.body, { attributeFilter: ['data-state'] });
  });
}

// The whole narration as lines of [colour, text] runs, answers left out, as the page keeps it
// (the view holds only the newest lines). A clear does not cut a line, as in the game's output.
export function narration(page) {
  return page.evaluate(() => window.morvanePage.narration());
}

// The lines in the view, as a person reads them (answers left out), against the end of the
// whole narration: the view shows its newest lines, control characters made visible.
export async function assertViewShowsNewest(assert, page) {
  const { shown, whole } = await page.evaluate(() => {
    const visible = window.MorvaneNarration.visible;
    const inView = [...document.querySelectorAll('#view .line')].map((line) =>
      [...line.children]
        .filter((run) => !run.classList.contains('echo'))
        .map((run) => run.textContent)
        .join(''),
    );
    const all = window.morvanePage.narration().map((runs) => visible(runs.map((r) => r[1]).join('')));
    return { shown: inView, whole: all };
  });
  assert.ok(shown.length > 0 && shown.length <= whole.length, 'the view shows lines');
  // The first line in view may have begun before a clear.
  assert.deepEqual(shown.slice(1), whole.slice(whole.length - shown.length + 1));
}

// Runs of the same colour joined, empty runs dropped: what a reader can tell apart.
export function joinRuns(lines) {
  return lines.map((runs) => {
    const out = [];
    for (const [colour, text] of runs) {
      if (text === '') continue;
      if (out.length > 0 && out.at(-1)[0] === colour) out.at(-1)[1] += text;
      else out.push([colour, text]);
    }
    return out;
  });
}

const sgr = { 0: 0, 96: 1, 92: 2, 95: 3, 91: 4, 94: 5, 93: 6, 90: 7 };

// The terminal's output as the same lines of coloured runs, from its escape sequences.
export function terminalLines(bytes) {
  const text = bytes.toString('utf8');
  const lines = [[]];
  let colour = 0;
  const pattern = /\x1b\[([0-9;]*)m|\n|[^\x1b\n]+/g;
  for (const [piece, code] of text.matchAll(pattern)) {
    if (piece === '\n') lines.push([]);
    else if (code !== undefined) colour = sgr[code === '' ? 0 : Number(code)] ?? colour;
    else lines.at(-1).push([colour, piece]);
  }
  return lines;
}

export function runNative(args, input) {
  return execFileSync(nativeBin, args, {
    input,
    env: { ...process.env, LC_ALL: 'C.UTF-8' },
    maxBuffer: 1 << 28,
  });
}

// The page's whole narration equals the terminal's for the same seed and typed lines.
export async function assertSameAsTerminal(assert, page, seed, typed) {
  const input = typed.map((line) => line + '\n').join('');
  const args = ['--seed', String(seed), '--no-pause', '--color', 'always'];
  const want = joinRuns(terminalLines(runNative(args, input)));
  const got = joinRuns(await narration(page));
  for (let i = 0; i < Math.max(want.length, got.length); ++i) {
    assert.deepEqual(got[i], want[i], `line ${i + 1} differs`);
  }
  await assertViewShowsNewest(assert, page);
}

// The view's lines as text (lines out of sight are not laid out, so innerText would skip them).
export const viewText = (page) =>
  page.$$eval('#view .line', (lines) => lines.map((line) => line.textContent).join('\n'));

// A replay code made with the game's own encoder: any seed, round cap, digest and answers.
export function forgeCode(seed, maxRounds, digest, answers) {
  const tool = join(repo, 'build/web/web/forge_code.js');
  const args = [String(seed), String(maxRounds), String(digest), ...answers];
  return execFileSync('node', ['--no-experimental-fetch', tool, ...args], { encoding: 'utf8' }).trim();
}

// Ten one-fighter teams whose summons block each other: a fight that never ends.
export const neverEnding = ['#1', '#10', ...'abcdefghij'.split('').map((name) => `=${name}`)];
