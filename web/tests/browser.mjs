// Debian's Chromium driven by playwright-core, which downloads no browser of
// its own. The page is served from the staged site folder.
import { readFileSync } from 'node:fs';
import { after, before } from 'node:test';
import { createRequire } from 'node:module';
import { chromium } from 'playwright-core';
import { serve } from './server.mjs';

export const SITE = process.env.YISHU_SITE;
export const ARTIFACTS = process.env.YISHU_ARTIFACTS;
if (!SITE) throw new Error('YISHU_SITE must name the staged web page (build/web/site)');

export const PHONE = { width: 360, height: 740 };
export const DESKTOP = { width: 1280, height: 900 };

export async function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu'],
  });
}

// A served page in a new context with the browser's language set to
// `locale`, `script` run in it before the page's own; waits until the
// converter has loaded.
export async function openPage(browser, { viewport = DESKTOP, server = null, permissions = [], locale = 'zh-CN', script } = {}) {
  const site = server ?? (await serve(SITE));
  const context = await browser.newContext({ viewport, acceptDownloads: true, locale });
  if (permissions.length) await context.grantPermissions(permissions, { origin: site.url });
  if (script) await context.addInitScript(script);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
  return { page, context, site, errors };
}

// Pastes text into the focused field as a clipboard paste does: one input event.
export async function paste(page, selector, text) {
  await page.focus(selector);
  await page.evaluate(
    ([sel, value]) => {
      const el = document.querySelector(sel);
      el.setRangeText(value, el.selectionStart, el.selectionEnd, 'end');
      el.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertFromPaste', data: value }));
    },
    [selector, text],
  );
}

// Sets the options as a person does: opens the options if they are folded,
// then clicks each choice given (direction: 'auto' | 0 | 1, book: 'auto' | 0 |
// 1, variants, asWritten).
export async function choose(page, { direction, book, variants, asWritten }) {
  if (!(await page.locator('#options').evaluate((d) => d.open))) await page.click('#options summary');
  if (direction !== undefined) await page.check(`input[name="direction"][value="${direction}"]`);
  if (book !== undefined) await page.check(`input[name="book"][value="${book}"]`);
  if (variants !== undefined) await page.setChecked('#variants', variants);
  if (asWritten !== undefined) await page.setChecked('#typed-rule', !asWritten);
}

// The violations axe-core finds in the page as it is now.
const AXE = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
export async function axeViolations(page) {
  if (!(await page.evaluate(() => 'axe' in window))) await page.evaluate(AXE);
  const { violations } = await page.evaluate(() => window.axe.run(document));
  return violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

// One browser and one page for the tests of a file: opened before the first
// test and closed after the last. The returned object holds browser, page
// and site once they are open.
export function openForTests(options) {
  const opened = {};
  before(async () => {
    opened.browser = await launch();
    Object.assign(opened, await openPage(opened.browser, options));
  });
  after(async () => {
    await opened.browser?.close();
    await opened.site?.close();
  });
  return opened;
}
