import { launch, serveSite, openPage, settled, answer, chooseSpeed } from '/work/i21/web/tests/harness.mjs';
const browser = await launch(); const server = await serveSite();
for (const lines of [['1','2','a/b','c/d'], ['1','2','<i>斜/&amp;','c'], ['1','2','a', '🐉👨‍👩‍👧/b'], ['1','2','a', '龍'.repeat(3000)], ['1','2','a', '\x01\u202e']]) {
const page = await openPage(browser, `${server.url}?seed=5`);
await settled(page); await chooseSpeed(page, 'instant'); await page.keyboard.press('Enter');
for (const line of lines) { await settled(page); await answer(page, line); }
console.log(JSON.stringify(lines).slice(0,50), await settled(page), await page.$eval("#notice-detail", n => n.textContent));
await page.close();
}
await browser.close(); await server.close();
