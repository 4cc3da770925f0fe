// Figures of the page in headless Chromium (not a test: it prints, it does not judge).
//   node bench.mjs [runs]
// - navigation to the first prompt, served over HTTP and opened from disk;
// - a 3-against-3 team match at instant speed, from the last answer to the last line;
// - a 1000-fighter team match (two lines of 500 names) at instant speed, the same way;
// - what a visitor downloads, raw and gzip.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import { answer, chooseSpeed, launch, openPage, serveSite, settled, site } from './tests/harness.mjs';

const runs = Number(process.argv[2] ?? 5);

// Every change of the page's state with its time since the navigation began.
function logStates() {
  window.__states = [];
  const note = () =>
    window.__states.push([document.body.dataset.state, performance.now()]);
  document.addEventListener('DOMContentLoaded', () => {
    note();
    new MutationObserver(note).observe(document.body, { attributeFilter: ['data-state'] });
  });
}

async function open(browser, url) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(logStates);
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

// From the last answer to the last line, at instant speed.
async function match(browser, url, seed, teams) {
  const page = await open(browser, `${url}?seed=${seed}`);
  await settled(page);
  await chooseSpeed(page, 'instant');
  await page.keyboard.press('Enter');
  for (const line of ['1', String(teams.length), ...teams]) {
    await settled(page);
    await answer(page, line);
  }
  if ((await settled(page, 120000)) !== 'finished') throw new Error('the match did not finish');
  const log = await states(page);
  const lastAnswer = log.findLast(([s]) => s === 'narrating')[1];
  const end = log.at(-1)[1];
  const lines = await page.$$eval('#view .line', (l) => l.length);
  await page.close();
  return { time: end - lastAnswer, lines };
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
    const { time, lines } = await match(browser, server.url, seed, [names('a'), names('b')]);
    console.log(`1000 fighters, instant:      ${ms(time)} (seed ${seed}, ${lines} lines in view)`);
  }

  let raw = 0;
  let gzip = 0;
  for (const file of ['index.html', 'style.css', 'page.js', 'morvane.js', 'morvane.wasm']) {
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
} finally {
  await browser.close();
  await server.close();
}
