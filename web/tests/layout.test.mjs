// The page on a 360-pixel phone and on a desktop, used from the keyboard.
// Screenshots of both are kept for people to look at.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdir } from 'node:fs/promises';
import { join } from 'node:path';
import { ARTIFACTS, DESKTOP, PHONE, launch, openPage } from './browser.mjs';

let browser;
before(async () => {
  browser = await launch();
  if (ARTIFACTS) await mkdir(ARTIFACTS, { recursive: true });
});
after(async () => { await browser?.close(); });

for (const [name, viewport] of [['phone', PHONE], ['desktop', DESKTOP]]) {
  test(`${name}: everything fits the width and reads in Chinese and English`, async () => {
    const { page, context, site, errors } = await openPage(browser, { viewport });
    await page.fill('#input', '陳大文 王小明');
    await page.waitForSelector('#chars tbody tr');
    for (const lang of ['zh', 'en']) {
      if (lang === 'en') {
        await page.click('#language');
        await page.waitForSelector('html[lang="en"]');
        assert.equal(await page.textContent('label[for="input"]'), 'Input');
      } else {
        assert.equal(await page.textContent('label[for="input"]'), '输入');
      }
      const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
      assert.ok(overflow <= 0, `${lang}: ${overflow} px wider than the screen`);
      if (ARTIFACTS) {
        await page.screenshot({ path: join(ARTIFACTS, `web-${name}-${lang}.png`), fullPage: true });
      }
    }
    // The choice of language outlives a reload.
    await page.reload();
    await page.waitForSelector('body[data-ready="true"]');
    assert.equal(await page.getAttribute('html', 'lang'), 'en');
    assert.deepEqual(errors, []);
    await context.close();
    await site.close();
  });
}

test('every control has a name and is reached with Tab, with a visible focus', async () => {
  const { page, context, site } = await openPage(browser, { viewport: PHONE });
  const unnamed = await page.$$eval('input, textarea, select, button', (els) =>
    els.filter((el) => !el.labels?.length && !el.getAttribute('aria-label') && !el.textContent.trim())
      .map((el) => el.outerHTML));
  assert.deepEqual(unnamed, []);

  // Tab from the top of the page through the options to the input, type,
  // then on to the copy button.
  const reached = [];
  for (let i = 0; i < 40; ++i) {
    await page.keyboard.press('Tab');
    const info = await page.evaluate(() => {
      const el = document.activeElement;
      const style = getComputedStyle(el);
      return { id: el.id || el.name || el.tagName, outline: style.outlineStyle, width: style.outlineWidth };
    });
    reached.push(info.id);
    assert.notEqual(info.outline, 'none', `${info.id} shows no focus`);
    if (info.id === 'input') await page.keyboard.type('0022 ');
    if (info.id === 'copy') break;
  }
  for (const id of ['language', 'direction', 'book', 'typed-rule', 'input', 'clear', 'copy']) {
    if (id === 'typed-rule' && await page.isDisabled('#typed-rule')) continue;
    assert.ok(reached.includes(id), `${id} not reached by Tab: ${reached.join(' ')}`);
  }
  assert.equal(await page.inputValue('#output'), '中');
  // Arrow keys move within a group of options, as in any form.
  await page.focus('input[name="direction"][value="auto"]');
  await page.keyboard.press('ArrowRight');
  assert.equal(await page.evaluate(() => document.activeElement.value), '0');
  assert.ok(await page.isChecked('input[name="direction"][value="0"]'));
  await page.keyboard.press('Enter');   // a button pressed from the keyboard
  await page.focus('#clear');
  await page.keyboard.press('Enter');
  assert.equal(await page.inputValue('#input'), '');
  await context.close();
  await site.close();
});
