// Private and offline: the page asks nothing of any other host, and once
// loaded it opens and converts with its server gone.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { launch, openPage, SITE } from './browser.mjs';
import { serve } from './server.mjs';
import { coreConvert } from './oracle.mjs';

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser?.close(); });

test('every request stays on the page\'s own server', async () => {
  const site = await serve(SITE);
  const context = await browser.newContext();
  const page = await context.newPage();
  const elsewhere = [];
  context.on('request', (r) => { if (!r.url().startsWith(site.url)) elsewhere.push(r.url()); });
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
  await page.fill('#input', '中文');
  await page.selectOption('#language', 'en');
  await page.click('nav button[data-view="book"]');
  await page.fill('#book-search', '0022');
  await page.click('nav button[data-view="convert"]');
  assert.deepEqual(elsewhere, []);
  // The code books and the converter come with the page: typing fetched nothing.
  const before = site.requests.length;
  await page.fill('#input', '0022 2429 ');
  assert.equal(site.requests.length, before);
  await context.close();
  await site.close();
});

test('after one visit the page reloads and converts without its server', async () => {
  const { page, context, site } = await openPage(browser);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await site.close();
  await assert.rejects(fetch(site.url), 'the server is gone');

  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  const text = '7115 1129 2429 ';
  await page.fill('#input', text);
  assert.equal(await page.inputValue('#output'), coreConvert({ direction: 0, book: 0 }, text));

  // A new tab opens it too, as an installed app would.
  const tab = await context.newPage();
  await tab.goto(site.url);
  await tab.waitForSelector('body[data-ready="true"]');
  await tab.fill('#input', '陈大文');
  assert.match(await tab.inputValue('#output'), /^\d{4} \d{4} \d{4}$/);
  await context.close();
});

test('Chromium finds nothing that keeps the page from being installed', async () => {
  // Installing needs a profile of its own: a fresh context counts as private.
  const profile = await mkdtemp(join(tmpdir(), 'yishu-profile-'));
  const site = await serve(SITE);
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });
  try {
    const page = await context.newPage();
    await page.goto(site.url);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    const cdp = await context.newCDPSession(page);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    const { errors } = await cdp.send('Page.getAppManifest');
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
    await site.close();
    await rm(profile, { recursive: true, force: true });
  }
});
