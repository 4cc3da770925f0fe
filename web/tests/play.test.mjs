// Games typed into the page by a person: the key wait, the prompts, the controls, names that
// look like HTML, damaged links, and the page opened from disk.
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { describe, test } from 'node:test';
import {
  answer,
  answerEach,
  browserAndSite,
  assertSameAsTerminal,
  chooseSpeed,
  openPage,
  playGame,
  repo,
  settled,
  site,
  state,
  viewText,
} from './harness.mjs';

const shots = join(repo, 'build/web/screenshots');
mkdirSync(shots, { recursive: true });

describe('playing in the page', () => {
  const web = browserAndSite();

  test('a team match: key wait, mode prompt, two teams of Chinese names, skip, screenshot', async () => {
    // -1 is taken modulo 2^32, as the terminal's --seed does.
    const page = await openPage(web.browser, `${web.server.url}?seed=-1`);
    assert.equal(await settled(page), 'key');
    assert.match(await viewText(page), /欢迎来到Morvane！请按下任意键继续。/);
    // Nothing is asked yet: there is no input to type into.
    assert.ok(!(await page.$eval('#line', (input) => input.checkVisibility())));
    // A tap on the narration is the key press the game waits for.
    await page.click('#screen');
    assert.equal(await settled(page), 'reading');
    const menu = await viewText(page);
    assert.doesNotMatch(menu, /欢迎/, 'the view was cleared');
    assert.match(menu, /你要玩那个模式？输入1或2或3/);

    const typed = ['1', '2', '张三/李四', '王五/赵六'];
    for (const line of typed) {
      assert.equal(await settled(page), 'reading');
      await answer(page, line);
    }
    // At 1× the fight is paced; skipping takes it to its end at once.
    await page.waitForSelector('#skip:not([disabled])');
    const partway = await viewText(page);
    assert.equal(await state(page), 'narrating');
    await page.click('#skip');
    assert.equal(await settled(page), 'finished');
    assert.ok((await viewText(page)).length > partway.length);
    assert.equal(await page.$eval('#seed', (seed) => seed.textContent), '种子 4294967295（地址指定）');
    assert.ok(await page.$eval('#again', (button) => button.checkVisibility()));
    assert.ok(await page.$eval('#copy', (button) => button.checkVisibility()));
    await assertSameAsTerminal(assert, page, -1, typed);
    assert.deepEqual(page.problems, []);

    await page.screenshot({ path: join(shots, 'finished-fight.png') });

    // Another game in the same page starts from a clear view.
    await page.click('#again');
    assert.equal(await settled(page), 'key');
    assert.doesNotMatch(await viewText(page), /游戏结束/);
    assert.deepEqual(page.problems, []);
    await page.close();
  });

  test('an endless run on a phone: taps, upgrade choices, nothing typed ahead is taken', async () => {
    const phone = await openPage(web.browser, `${web.server.url}index.html?seed=31`, {
      width: 390,
      height: 760,
    });
    await phone.emulate({
      viewport: { width: 390, height: 760, isMobile: true, hasTouch: true, deviceScaleFactor: 2 },
      userAgent: await web.browser.userAgent(),
    });
    assert.equal(await settled(phone), 'key');
    await phone.tap('#continue');
    assert.equal(await settled(phone), 'reading');
    await chooseSpeed(phone, 'instant');
    const typed = ['3', '8'];
    await answerEach(assert, phone, typed);

    let choices = 0;
    for (let s = await settled(phone); s === 'reading'; s = await settled(phone)) {
      assert.match(await viewText(phone), /你可以选择一个加成/);
      const line = String((choices % 3) + 1);
      typed.push(line);
      await answer(phone, line);
      ++choices;
      if (choices === 1) {
        // Keys pressed while the next level is narrated answer nothing.
        await chooseSpeed(phone, '4');
        await phone.keyboard.type('2');
        await phone.keyboard.press('Enter');
        await chooseSpeed(phone, 'instant');
      }
    }
    assert.ok(choices >= 1, 'the run reached an upgrade choice');
    assert.equal(await settled(phone), 'finished');
    await assertSameAsTerminal(assert, phone, 31, typed);
    // The controls fit the phone's width.
    const overflow = await phone.evaluate(() => document.documentElement.scrollWidth - innerWidth);
    assert.ok(overflow <= 0, `the page is ${overflow}px wider than the phone`);
    await phone.screenshot({ path: join(shots, 'phone-endless.png') });
    assert.deepEqual(phone.problems, []);
    await phone.close();
  });

  test('names are shown as text, never as HTML: markup, emoji, a very long name', async () => {
    const page = await openPage(web.browser, `${web.server.url}?seed=5`);
    page.on('dialog', (dialog) => {
      page.problems.push(`dialog: ${dialog.message()}`);
      dialog.dismiss();
    });
    const long = '龍'.repeat(3000);
    const typed = [
      '1',
      '2',
      // A name holds neither '/' nor a space, so the script's closing tag cuts a name in two.
      '<script>alert(1)</script>/<img>/<i>斜/&amp;',
      `🐉👨‍👩‍👧/${long}/\x01\u202e`,
    ];
    await playGame(assert, page, typed);
    const elements = await page.$$eval('#view script, #view img, #view i', (found) => found.length);
    assert.equal(elements, 0);
    const text = await viewText(page);
    const names = ['<script>alert(1)<', 'script>', '<img>', '<i>斜', '&amp;', '🐉👨‍👩‍👧', long];
    for (const name of names) {
      assert.ok(text.includes(name), `${name.slice(0, 20)} is shown as typed`);
    }
    await assertSameAsTerminal(assert, page, 5, typed);
    assert.deepEqual(page.problems, []);
    await page.close();
  });

  test('a damaged link shows a message and offers a fresh game; so does a bad seed', async () => {
    const page = await openPage(web.browser, `${web.server.url}index.html#MV1-%%%not-a-fight`);
    assert.equal(await settled(page), 'refused');
    assert.ok(await page.$eval('#notice', (notice) => notice.checkVisibility()));
    assert.notEqual(await page.$eval('#notice-text', (p) => p.textContent.trim()), '');
    await page.click('#fresh');
    assert.equal(await settled(page), 'key');
    assert.equal(await page.evaluate(() => location.hash), '');
    assert.ok(!(await page.$eval('#notice', (notice) => notice.checkVisibility())));
    assert.deepEqual(page.problems, []);
    await page.close();

    const seeded = await openPage(web.browser, `${web.server.url}?seed=12abc`);
    assert.equal(await settled(seeded), 'key');
    assert.match(await seeded.$eval('#notice-text', (p) => p.textContent), /12abc/);
    assert.deepEqual(seeded.problems, []);
    await seeded.close();
  });

  test('opened from disk: the one-file page and the folder both play', async () => {
    for (const file of ['morvane.html', 'index.html']) {
      const page = await openPage(web.browser, `${pathToFileURL(join(site, file))}?seed=262`);
      assert.equal(await settled(page), 'key', file);
      await chooseSpeed(page, 'instant');
      await page.keyboard.press('Space');
      const typed = ['4', '17', '22', '9'];
      for (const line of typed) {
        assert.equal(await settled(page), 'reading');
        await answer(page, line);
      }
      assert.equal(await settled(page), 'finished');
      await assertSameAsTerminal(assert, page, 262, typed);
      // No address to share from disk: the code itself, and how to open it.
      await page.click('#copy');
      const code = await page.$eval('#link', (box) => box.value);
      assert.match(code, /^MV1-[A-Za-z0-9_-]+$/);
      assert.ok(await page.$eval('#link-help', (help) => help.checkVisibility()));
      assert.deepEqual(page.problems, [], file);
      await page.close();
      // The code opens from disk too: checked in a worker made of the page's own scripts.
      const replayed = await openPage(web.browser, 'about:blank');
      let workers = 0;
      replayed.on('workercreated', () => ++workers);
      await replayed.goto(`${pathToFileURL(join(site, file))}#${code}`);
      await chooseSpeed(replayed, 'instant');
      assert.equal(await settled(replayed), 'finished', `${file}, the replay`);
      assert.equal(workers, 1, `${file}: the link was checked in a worker`);
      await assertSameAsTerminal(assert, replayed, 262, typed);
      assert.deepEqual(replayed.problems, [], `${file}, the replay`);
      await replayed.close();
    }
  });

  test('a missing .wasm: a message in Chinese, not the loader’s English', async () => {
    const page = await web.browser.newPage();
    // Not from the service worker's copy, which earlier visits left.
    await page.setBypassServiceWorker(true);
    await page.setRequestInterception(true);
    page.on('request', (request) =>
      request.url().endsWith('.wasm') ? request.abort() : request.continue(),
    );
    await page.goto(`${web.server.url}?seed=1`);
    assert.equal(await settled(page), 'error');
    const message = await page.$eval('#notice-text', (p) => p.textContent);
    assert.match(message, /^游戏.*没能.*载入.*请检查网络后刷新页面/);
    assert.doesNotMatch(message, /[A-Za-z]{4}/);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'fresh');
    await page.close();
  });

  test('text and placeholders at 4.5:1 or more; no blinking under reduced motion', async () => {
    const page = await openPage(web.browser, `${web.server.url}?seed=1`);
    await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
    assert.equal(await settled(page), 'key');
    await page.keyboard.press('Enter');
    assert.equal(await settled(page), 'reading');
    const low = await page.evaluate(() => {
      const rgb = (text) => text.match(/[\d.]+/g).slice(0, 3).map(Number);
      const luminance = ([r, g, b]) => {
        const linear = (c) => ((c /= 255) <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
        return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
      };
      const background = (node) => {
        for (; node; node = node.parentElement) {
          const colour = getComputedStyle(node).backgroundColor;
          if (!colour.startsWith('rgba(0, 0, 0, 0)')) return colour;
        }
        return 'rgb(16, 17, 20)';
      };
      const ratio = (fg, bg) => {
        const [a, b] = [luminance(rgb(fg)), luminance(rgb(bg))].sort((x, y) => y - x);
        return (a + 0.05) / (b + 0.05);
      };
      const input = document.getElementById('line');
      const checks = [[input, getComputedStyle(input, '::placeholder').color]];
      for (const node of document.querySelectorAll('#top *, #view span, #controls button:not(:disabled)')) {
        checks.push([node, getComputedStyle(node).color]);
      }
      return checks
        .map(([node, colour]) => [node.id || node.className || node.tagName, ratio(colour, background(node))])
        .filter(([, r]) => r < 4.5);
    });
    assert.deepEqual(low, []);
    const cursor = await page.$eval('#view .open', (line) => getComputedStyle(line, '::after').animationName);
    assert.equal(cursor, 'none');
    assert.deepEqual(page.problems, []);
    await page.close();
  });
});
