// The seven golden games played through the page at instant speed, typed as a person would:
// the page shows the same lines, in the same colours, as the terminal build for the same seed
// and input.
import assert from 'node:assert/strict';
import { existsSync, readFileSync, readdirSync } from 'node:fs';
import { join } from 'node:path';
import { before, describe, test } from 'node:test';
import {
  answer,
  assertViewShowsNewest,
  browserAndSite,
  chooseSpeed,
  goldenDir,
  joinRuns,
  narration,
  nativeBin,
  openPage,
  runNative,
  settled,
  terminalLines,
} from './harness.mjs';

const games = existsSync(goldenDir)
  ? readdirSync(goldenDir)
      .filter((name) => name.endsWith('.in'))
      .map((name) => name.slice(0, -3))
  : [];

const skip = games.length === 0 && `no golden games at ${goldenDir}`;

describe('golden games in the page', { skip }, () => {
  before(async () => {
    assert.ok(existsSync(nativeBin), `the terminal build is missing: ${nativeBin}`);
  });
  const web = browserAndSite();

  for (const name of games) {
    test(name, async () => {
      const input = readFileSync(join(goldenDir, `${name}.in`));
      const args = readFileSync(join(goldenDir, `${name}.args`), 'utf8').trim().split(/\s+/);
      const seed = args[args.indexOf('--seed') + 1];
      const want = joinRuns(terminalLines(runNative(args, input)));

      const page = await openPage(web.browser, `${web.server.url}index.html?seed=${seed}`);
      const lines = input.toString('utf8').split('\n');
      if (lines.at(-1) === '') lines.pop();
      let s = await settled(page);
      assert.equal(s, 'key', 'the game first waits for a key');
      await chooseSpeed(page, 'instant');
      await page.keyboard.press('x');
      while ((s = await settled(page)) === 'reading') {
        assert.ok(lines.length > 0, 'the page asks for more than the game typed');
        await answer(page, lines.shift());
      }
      assert.equal(s, 'finished');
      const got = joinRuns(await narration(page));
      for (let i = 0; i < Math.max(want.length, got.length); ++i) {
        assert.deepEqual(got[i], want[i], `line ${i + 1} differs`);
      }
      await assertViewShowsNewest(assert, page);
      // The banner tells the outcome the game's last lines tell.
      const told = want.map((runs) => runs.map(([, text]) => text).join('')).join('\n');
      const banner = await page.$eval('#outcome', (title) => title.textContent);
      const winner = /胜利的是第(\d+)队/.exec(told);
      const level = /你最后挑战到第(\d+)关/.exec(told);
      if (level) assert.equal(banner, `无尽模式：你挑战到第${level[1]}关`);
      if (winner && told.includes('挑战者的属性')) {
        assert.equal(banner, winner[1] === '2' ? '作者获胜' : '挑战者战胜了作者！');
      } else if (winner) {
        assert.equal(banner, `第${winner[1]}队获胜`);
      }
      assert.equal(await page.evaluate(() => document.activeElement.closest('#banner') !== null), true);
      assert.deepEqual(page.problems, []);
      await page.close();
    });
  }
});
