// The served page opens and plays without a network once it has been visited: its service
// worker keeps every file.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { launch, openPage, playGame, serveSite, settled } from './harness.mjs';

describe('offline', () => {
  test('after a first visit the page loads and plays with the server gone', async () => {
    const browser = await launch();
    const server = await serveSite();
    try {
      const url = `${server.url}?seed=6`;
      const page = await openPage(browser, url);
      assert.equal(await settled(page), 'key');
      // The icon and the manifest are there for the browser to install the page.
      assert.equal(
        await page.$eval('link[rel="manifest"]', (link) => new URL(link.href).pathname),
        '/manifest.webmanifest',
      );
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 }).catch(() => {});
      await page.close();
      await server.close();

      const offline = await openPage(browser, url);
      await playGame(assert, offline, ['1', '2', '甲', '乙']);
      assert.deepEqual(offline.problems, []);
      await offline.close();
    } finally {
      await browser.close();
    }
  });
});
