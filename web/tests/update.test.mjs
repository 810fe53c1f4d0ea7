// A returning visitor gets the new version whole: the server sends every file
// with a year's max-age, so the browser's HTTP cache still holds the old
// ones, and the new service worker must fetch past it. The page says that a
// new version is ready and reloads into it when asked. And before the
// converter has loaded, the result box says it is loading.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch, SITE } from './browser.mjs';
import { serve } from './server.mjs';

let browser, dir;
before(async () => {
  browser = await launch();
  dir = await mkdtemp(join(tmpdir(), 'yishu-update-'));
});
after(async () => {
  await browser?.close();
  await rm(dir, { recursive: true, force: true });
});

// The next build: a changed script and page, and a service worker naming a
// new cache, as a new build's would.
async function release(site) {
  const edit = async (name, change) => writeFile(join(site, name), change(await readFile(join(site, name), 'utf8')));
  await edit('app.js', (s) => `${s}\ndocument.documentElement.dataset.build = 'next';\n`);
  await edit('index.html', (s) => s.replace('</body>', '<p id="next-build">next</p>\n</body>'));
  await edit('sw.js', (s) => s.replace(/const CACHE = '([^']+)'/, "const CACHE = '$1-next'"));
}

test('a new version with the old files still fresh in the HTTP cache', async () => {
  const site = join(dir, 'site');
  await cp(SITE, site, { recursive: true });
  const server = await serve(site, { headers: { 'Cache-Control': 'public, max-age=31536000' } });
  const context = await browser.newContext({ locale: 'en-US' });
  try {
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForSelector('body[data-ready="true"]');
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    assert.equal(await page.locator('.update-notice').count(), 0, 'no notice on a first visit');

    await release(site);
    const served = server.requests.length;
    await page.reload();
    await page.waitForSelector('body[data-ready="true"]');
    const notice = page.locator('.update-notice');
    await notice.waitFor();
    assert.ok(server.requests.length > served, 'the new files came from the server');
    // Until the reload, the open page stays on the old version.
    assert.equal(await page.locator('#next-build').count(), 0);
    assert.match(await notice.getByRole('button').textContent(), /^(Reload|重新加载|重新載入)$/);

    await Promise.all([page.waitForEvent('load'), notice.getByRole('button').click()]);
    await page.waitForSelector('body[data-ready="true"]');
    assert.equal(await page.locator('#next-build').count(), 1, 'the new page, not the cached old one');
    assert.equal(await page.getAttribute('html', 'data-build'), 'next', 'the new script, not the cached old one');
    assert.equal(await page.locator('.update-notice').count(), 0);
    const caches = await page.evaluate(() => caches.keys());
    assert.equal(caches.length, 1, 'the old cache is gone');
    assert.match(caches[0], /-next$/);
    await page.fill('#input', '0022 ');
    assert.equal(await page.inputValue('#output'), '中');
  } finally {
    await context.close();
    await server.close();
  }
});

test('until the converter is ready the result says so, and what was typed converts then', async () => {
  const server = await serve(SITE);
  const context = await browser.newContext({ locale: 'zh-HK' });
  try {
    const page = await context.newPage();
    let release;
    const held = new Promise((resolve) => { release = resolve; });
    await page.route('**/yishu.wasm', async (route) => {
      await held;
      await route.continue();
    });
    await page.goto(server.url);
    await page.fill('#input', '7115 1129 2429 ');
    assert.equal(await page.getAttribute('#output', 'placeholder'), '正在載入轉換器…');
    assert.equal(await page.getAttribute('#output', 'aria-busy'), 'true');
    assert.equal(await page.inputValue('#output'), '');
    release();
    await page.waitForSelector('body[data-ready="true"]');
    assert.equal(await page.inputValue('#input'), '7115 1129 2429 ', 'nothing typed is lost');
    assert.equal(await page.inputValue('#output'), '陳大文');
    assert.equal(await page.getAttribute('#output', 'placeholder'), null);
  } finally {
    await context.close();
    await server.close();
  }
});
