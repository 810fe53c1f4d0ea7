// Debian's Chromium driven by playwright-core, which downloads no browser of
// its own. The page is served from the staged site folder.
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

// A served page in a new context; waits until the converter has loaded.
export async function openPage(browser, { viewport = DESKTOP, server = null, permissions = [] } = {}) {
  const site = server ?? (await serve(SITE));
  const context = await browser.newContext({ viewport, acceptDownloads: true, locale: 'zh-CN' });
  if (permissions.length) await context.grantPermissions(permissions, { origin: site.url });
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
