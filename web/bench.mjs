// Figures of the page in headless Chromium (not a test: it prints, it does not judge).
//   node bench.mjs [runs]
// - navigation to the first prompt, served over HTTP and opened from disk;
// - a 3-against-3 team match at instant speed, from the last answer to the last line;
// - a 1000-fighter team match (two lines of 500 names) at instant speed, the same way, with the
//   longest main-thread task and the elements left in the page;
// - the odds before a battle (silent games in the worker), 3 against 3 and 1000 fighters;
// - what a visitor downloads, raw and gzip;
// - how long the page takes to refuse forged links (a 1 MB name in a fight that never ends;
//   fights that never end with round caps 0 and 2^40), from the navigation, and its longest
//   main-thread task meanwhile.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import {
  answer,
  chooseSpeed,
  forgeCode,
  launch,
  neverEnding,
  recordStatesAndTasks,
  serveSite,
  settled,
  site,
} from './tests/harness.mjs';

const runs = Number(process.argv[2] ?? 5);

async function open(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1000, height: 750 });
  await page.evaluateOnNewDocument(recordStatesAndTasks);
  await page.goto(url);
  return page;
}

const states = (page) => page.evaluate(() => window.__states);
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const ms = (x) => `${x.toFixed(0)} ms`;

async function firstPrompt(browser, url) {
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const page = await open(browser, url);
    await settled(page);
    times.push((await states(page)).find(([s]) => s === 'key')[1]);
    await page.close();
  }
  return times;
}

// From the last answer to the last line, at instant speed; with `odds`, the odds before the
// battle are asked for too.
async function match(browser, url, seed, teams, odds = false) {
  const page = await open(browser, `${url}?seed=${seed}${odds ? '&odds' : ''}`);
  await settled(page);
  await chooseSpeed(page, 'instant');
  await page.keyboard.press('Enter');
  for (const line of ['1', String(teams.length), ...teams]) {
    await settled(page);
    await answer(page, line);
  }
  if ((await settled(page, 120000)) !== 'finished') throw new Error('the match did not finish');
  if (odds) await page.waitForSelector('#prefight:not([hidden])', { timeout: 120000 });
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 50))));
  const log = await states(page);
  const lastAnswer = log.findLast(([s]) => s === 'narrating')[1];
  const end = log.at(-1)[1];
  const figures = await page.evaluate(() => ({
    longest: Math.max(0, ...window.__longTasks),
    elements: document.getElementsByTagName('*').length,
    lines: document.querySelectorAll('#view .line').length,
    prefight: window.morvanePage.prefightMs(),
  }));
  await page.close();
  return { time: end - lastAnswer, ...figures };
}

// How long a forged link takes to be refused, and the longest task of the page meanwhile.
async function refusal(browser, url, code) {
  const page = await open(browser, `${url}#${code}`);
  // A tab in the background has its workers run at a lower priority.
  await page.bringToFront();
  let state = 'loading';
  while (['loading', 'checking'].includes(state)) {
    await new Promise((done) => setTimeout(done, 50));
    state = await page.evaluate(() => document.body.dataset.state);
  }
  const log = await states(page);
  const longest = await page.evaluate(() => Math.max(0, ...window.__longTasks));
  await page.close();
  return { state, time: log.at(-1)[1], longest };
}

const browser = await launch();
const server = await serveSite();
try {
  const served = await firstPrompt(browser, `${server.url}index.html`);
  const disk = await firstPrompt(browser, pathToFileURL(join(site, 'morvane.html')).href);
  console.log(`first prompt, served:        median ${ms(median(served))}, max ${ms(Math.max(...served))}`);
  console.log(`first prompt, from disk:     median ${ms(median(disk))}, max ${ms(Math.max(...disk))}`);

  const small = [];
  for (let seed = 1; seed <= runs * 2; ++seed) {
    small.push((await match(browser, server.url, seed, ['甲/乙/丙', '丁/戊/己'])).time);
  }
  console.log(`3 against 3, instant:        median ${ms(median(small))}, max ${ms(Math.max(...small))} (${small.length} seeds)`);

  const names = (p) => Array.from({ length: 500 }, (_, i) => `${p}${i + 1}`).join('/');
  for (let seed = 1; seed <= 3; ++seed) {
    const big = await match(browser, server.url, seed, [names('a'), names('b')]);
    console.log(
      `1000 fighters, instant:      ${ms(big.time)} (seed ${seed}), longest task ${ms(big.longest)}, ` +
        `${big.elements} elements (${big.lines} lines in view)`,
    );
  }

  const odds = [];
  for (let seed = 1; seed <= runs; ++seed) {
    odds.push((await match(browser, server.url, seed, ['甲/乙/丙', '丁/戊/己'], true)).prefight);
  }
  const bigOdds = (await match(browser, server.url, 1, [names('a'), names('b')], true)).prefight;
  console.log(`odds before the battle:      3 against 3 median ${ms(median(odds))}; 1000 fighters ${ms(bigOdds)}`);

  let raw = 0;
  let gzip = 0;
  const files = ['index.html', 'style.css', 'narration.js', 'board.js', 'worker.js', 'page.js'];
  for (const file of [...files, 'morvane.js', 'morvane.wasm', 'morvane.svg', 'manifest.webmanifest', 'sw.js']) {
    const bytes = readFileSync(join(site, file));
    raw += bytes.length;
    gzip += gzipSync(bytes, { level: 6 }).length;
  }
  const single = readFileSync(join(site, 'morvane.html'));
  const kb = (n) => `${(n / 1024).toFixed(0)} KB`;
  console.log(`download, served folder:     ${kb(raw)} raw, ${kb(gzip)} gzip`);
  console.log(
    `download, one-file page:     ${kb(single.length)} raw, ${kb(gzipSync(single, { level: 6 }).length)} gzip`,
  );

  {
    const codes = {
      'a 1 MB name, never ending': forgeCode(9105, 0, 12345, ['#1', '#10', '*333333=龍', ...neverEnding.slice(3)]),
      'never ending, no round cap': forgeCode(9105, 0, 12345, neverEnding),
      'never ending, cap 2^40': forgeCode(9105, 2 ** 40, 12345, neverEnding),
    };
    for (const [what, code] of Object.entries(codes)) {
      const { state, time, longest } = await refusal(browser, server.url, code);
      console.log(`forged link, ${what}: ${state} ${(time / 1000).toFixed(1)} s after navigation, longest task ${ms(longest)}`);
    }
  }
} finally {
  await browser.close();
  await server.close();
}
