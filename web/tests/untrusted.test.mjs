// What someone else made cannot hurt whoever opens it in the page: a name's direction controls
// stay inside the name, control characters show, and a forged link is checked off the page's
// thread, never freezing it.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import {
  browserAndSite,
  forgeCode,
  neverEnding,
  openPage,
  playGame,
  recordStatesAndTasks,
  settled,
  state,
  viewText,
} from './harness.mjs';

describe('untrusted names and links', () => {
  const web = browserAndSite();

  test('a U+202E name leaves the order of everything around it intact', async () => {
    const page = await openPage(web.browser, `${web.server.url}?seed=8`, { width: 1000, height: 750 });
    const rlo = '\u202e坏人';
    // A right-to-left override, an isolate never closed, an escape, a name in Hebrew.
    const hebrew = 'שלום';
    await playGame(assert, page, ['1', '2', `${rlo}/乙`, `丙/\u2066丁\x1b[31m/${hebrew}`]);
    // In every line holding the name, what follows the name is drawn left to right after it:
    // the stat table's numbers, an attack's words. The name's own characters may turn.
    const orderAfter = (name) => page.evaluate((held) => {
      const problems = [];
      let lines = 0;
      for (const line of document.querySelectorAll('#view .line')) {
        const holder = [...line.children].find((run) => run.textContent === held);
        if (!holder) continue;
        ++lines;
        const next = holder.nextSibling;
        if (!next) continue;
        const text = next.firstChild;
        const edge = holder.getBoundingClientRect().right;
        let last = edge - 1;
        for (let k = 0; k < Math.min(text.length, 4); ++k) {
          const range = document.createRange();
          range.setStart(text, k);
          range.setEnd(text, k + 1);
          const x = range.getBoundingClientRect().left;
          if (x < last) problems.push(`${line.textContent}: character ${k} after the name at ${x}`);
          last = x;
        }
      }
      return { lines, problems };
    }, name);
    for (const name of [rlo, hebrew]) {
      const checked = await orderAfter(name);
      assert.ok(checked.lines >= 2, `${name} was shown in ${checked.lines} lines`);
      assert.deepEqual(checked.problems, []);
    }
    // The typed echo is kept apart too, and the board's names.
    assert.ok(await page.$$eval('#view .echo', (echoes) => echoes.every((e) => e.tagName === 'BDI')));
    assert.ok(await page.$$eval('#board .name', (names) => names.length >= 4 && names.every((n) => n.tagName === 'BDI')));
    // An escape in a name shows as a character of its own, never as a colour or a hidden byte.
    const text = await viewText(page);
    assert.ok(text.includes('\u241b[31m'), 'ESC shown as ␛');
    assert.ok(!text.includes('\x1b'));
    assert.deepEqual(page.problems, []);
    await page.close();
  });

  test('forged links are refused by a worker, the page answering all along', async () => {
    const codes = {
      // The name is told on every line of a fight that never ends.
      'a 1 MB name': forgeCode(9105, 0, 12345, ['#1', '#10', '*333333=龍', ...neverEnding.slice(3)]),
      'a fight with no round cap': forgeCode(9105, 0, 12345, neverEnding),
      'a cap of 2^40 rounds': forgeCode(9105, 2 ** 40, 12345, neverEnding),
    };
    for (const [what, code] of Object.entries(codes)) {
      const page = await openPage(web.browser, 'about:blank', { width: 1000, height: 750 });
      await page.evaluateOnNewDocument(recordStatesAndTasks);
      await page.goto(`${web.server.url}#${code}`);
      // While the worker checks, the page answers at once.
      for (let now = 'loading'; ['loading', 'checking'].includes(now); ) {
        const started = Date.now();
        now = await page.evaluate(
          () => new Promise((done) => requestAnimationFrame(() => done(document.body.dataset.state))),
        );
        assert.ok(Date.now() - started < 500, `${what}: a frame took ${Date.now() - started} ms`);
        await new Promise((done) => setTimeout(done, 100));
      }
      assert.equal(await state(page), 'refused', what);
      assert.match(await page.$eval('#notice-text', (p) => p.textContent), /太长/, what);
      const longest = await page.evaluate(() => Math.max(0, ...window.__longTasks));
      assert.ok(longest < 100, `${what}: a task of ${longest} ms`);
      assert.deepEqual(page.problems, []);
      await page.close();
    }
  });

  test('a link being checked can be given up for a fresh game', async () => {
    const page = await openPage(web.browser, `${web.server.url}#${forgeCode(9105, 0, 1, neverEnding)}`);
    await page.waitForSelector('#checking:not([hidden])');
    await page.click('#cancel-check');
    assert.equal(await settled(page), 'key');
    assert.equal(await page.evaluate(() => location.hash), '');
    assert.deepEqual(page.problems, []);
    await page.close();
  });

  test('a link the worker refuses shows why, with a fresh game offered', async () => {
    // A right check and a made-up digest: the fight is played through, then refused.
    const code = forgeCode(11, 100000, 12345, ['#1', '#2', '=甲/乙', '=丙/丁']);
    const page = await openPage(web.browser, `${web.server.url}#${code}`);
    assert.equal(await settled(page), 'refused');
    assert.match(await page.$eval('#notice-text', (p) => p.textContent), /不一样/);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'fresh');
    assert.deepEqual(page.problems, []);
    await page.close();
  });
});
