// Share links: a finished game's link replays it in a fresh page, asking nothing; the terminal's
// replay codes open in the page, and the page's replay in the terminal, with the same bytes.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { before, describe, test } from 'node:test';
import {
  answer,
  browserAndSite,
  assertSameAsTerminal,
  chooseSpeed,
  joinRuns,
  narration,
  openPage,
  runNative,
  settled,
  terminalLines,
  viewText,
} from './harness.mjs';

// The link the page offers once a game is over: from the clipboard, or from the box the page
// shows when it may not write there.
async function copiedLink(page) {
  await page.click('#copy');
  const shown = await page.$eval('#link', (box) => (box.hidden ? '' : box.value));
  if (shown !== '') return shown;
  return page.evaluate(() => navigator.clipboard.readText());
}

describe('share links', () => {
  const web = browserAndSite();
  before(async () => {
    await web.browser.defaultBrowserContext().overridePermissions(web.server.url, [
      'clipboard-read',
      'clipboard-write',
      'clipboard-sanitized-write',
    ]);
  });

  test("a finished game's link replays it in a fresh page, and its code in the terminal", async () => {
    const page = await openPage(web.browser, `${web.server.url}?seed=2024`);
    assert.equal(await settled(page), 'key');
    await chooseSpeed(page, 'instant');
    await page.keyboard.press('Enter');
    const typed = ['1', '3', '杰哥/甲', '乙/tessik', '丙'];
    for (const line of typed) {
      assert.equal(await settled(page), 'reading');
      await answer(page, line);
    }
    assert.equal(await settled(page), 'finished');
    const link = await copiedLink(page);
    const code = new URL(link).hash.slice(1);
    assert.match(code, /^MV1-[A-Za-z0-9_-]+$/);
    assert.deepEqual(page.problems, []);
    await page.close();

    // Opened anew, the link asks nothing: no key, no answer, straight to the game's end. It says
    // it is a replay, with its seed, and shows each answer where the game took it.
    const replayed = await openPage(web.browser, link);
    await chooseSpeed(replayed, 'instant');
    assert.equal(await settled(replayed), 'finished');
    await assertSameAsTerminal(assert, replayed, 2024, typed);
    assert.match(await replayed.$eval('#replay-header', (h) => (h.hidden ? '' : h.textContent)), /回放.*2024/);
    // (The team set-up clears the view, the menu's answer with it, as a live game does.)
    const echoes = await replayed.$$eval('#view .echo', (shown) => shown.map((e) => e.textContent));
    assert.deepEqual(echoes, typed.slice(1));
    const winner = /胜利的是第(\d+)队/.exec(await viewText(replayed))[1];
    assert.equal(await replayed.$eval('#outcome', (title) => title.textContent), `第${winner}队获胜`);
    assert.deepEqual(replayed.problems, []);
    await replayed.close();

    const input = typed.map((line) => line + '\n').join('');
    const colours = ['--no-pause', '--color', 'always'];
    const piped = runNative(['--seed', '2024', ...colours], input);
    assert.ok(runNative(['replay', code, ...colours], '').equals(piped));
  });

  test("the terminal's code opens in the page with the terminal's narration", async () => {
    const dir = mkdtempSync(join(tmpdir(), 'morvane-share-'));
    const input = '4\n17\n22\n9\n';
    const args = ['--seed', '262', '--no-pause', '--color', 'always'];
    const piped = runNative([...args, '--record', join(dir, 'code')], input);
    const code = readFileSync(join(dir, 'code'), 'utf8').trim();

    const page = await openPage(web.browser, `${web.server.url}#${code}`);
    await chooseSpeed(page, 'instant');
    assert.equal(await settled(page), 'finished');
    const got = joinRuns(await narration(page));
    const want = joinRuns(terminalLines(piped));
    for (let i = 0; i < Math.max(want.length, got.length); ++i) {
      assert.deepEqual(got[i], want[i], `line ${i + 1} differs`);
    }
    assert.deepEqual(page.problems, []);
    await page.close();
  });

  test('a fight cut by its round cap ends on a draw banner', async () => {
    const dir = mkdtempSync(join(tmpdir(), 'morvane-share-'));
    // Ten one-fighter teams whose summons block each other, cut after two rounds.
    const input = '1\n10\na\nb\nc\nd\ne\nf\ng\nh\ni\nj\n';
    runNative(['--seed', '9105', '--no-pause', '--max-rounds', '2', '--record', join(dir, 'code')], input);
    const code = readFileSync(join(dir, 'code'), 'utf8').trim();
    const page = await openPage(web.browser, `${web.server.url}#${code}`);
    await chooseSpeed(page, 'instant');
    assert.equal(await settled(page), 'finished');
    assert.equal(await page.$eval('#outcome', (title) => title.textContent), '平局');
    assert.match(await page.$eval('#outcome-detail', (p) => p.textContent), /超过2回合/);
    assert.deepEqual(page.problems, []);
    await page.close();
  });
});
