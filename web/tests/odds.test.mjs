// The live odds in the page: asked for with the 胜率 button (or `?odds`), one grey line after
// each battle round's hit points, and nothing else of the game changes.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import {
  answer,
  browserAndSite,
  chooseSpeed,
  joinRuns,
  narration,
  openPage,
  runNative,
  settled,
  terminalLines,
} from './harness.mjs';

const text = (runs) => runs.map(([, piece]) => piece).join('');

describe('live odds in the page', () => {
  const web = browserAndSite();

  test('one grey line after each round; without them, the terminal narration', async () => {
    const page = await openPage(web.browser, `${web.server.url}?seed=3&odds`);
    assert.equal(await page.$eval('#odds', (b) => b.getAttribute('aria-pressed')), 'true');
    assert.equal(await settled(page), 'key');
    await chooseSpeed(page, 'instant');
    await page.keyboard.press('Enter');
    const typed = ['1', '2', '甲/乙/丙', '丁/戊/己'];
    for (const line of typed) {
      assert.equal(await settled(page), 'reading');
      await answer(page, line);
    }
    assert.equal(await settled(page), 'finished');

    const lines = joinRuns(await narration(page));
    const odds = lines.filter((runs) => text(runs).startsWith('胜率'));
    assert.ok(odds.length > 0, 'the battle had rounds with odds');
    lines.forEach((runs, i) => {
      if (!text(runs).startsWith('胜率')) return;
      assert.match(text(lines[i - 1]), /^回合结束，目前血量：/);
      assert.match(text(runs), /^胜率 第1队 \d+% .* 第2队 \d+% /);
      assert.deepEqual(
        runs.map(([colour]) => colour),
        [7],
        'grey',
      );
    });

    const input = typed.map((line) => line + '\n').join('');
    const args = ['--seed', '3', '--no-pause', '--color', 'always'];
    const want = joinRuns(terminalLines(runNative(args, input)));
    const got = lines.filter((runs) => !text(runs).startsWith('胜率'));
    for (let i = 0; i < Math.max(want.length, got.length); ++i) {
      assert.deepEqual(got[i], want[i], `line ${i + 1} differs`);
    }
    assert.deepEqual(page.problems, []);
    await page.close();
  });
});
