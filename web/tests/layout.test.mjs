// The page on a 360-pixel phone and on a desktop, in each language and each
// view: nothing wider than the screen, every tap target at least 44 by 44
// pixels, nothing axe-core objects to; and used from the keyboard.
// Screenshots of every state are kept for people to look at.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdir } from 'node:fs/promises';
import { join } from 'node:path';
import { ARTIFACTS, DESKTOP, PHONE, axeViolations, choose, launch, openPage } from './browser.mjs';

let browser;
before(async () => {
  browser = await launch();
  if (ARTIFACTS) await mkdir(ARTIFACTS, { recursive: true });
});
after(async () => { await browser?.close(); });

const TAP = 44;

// The visible things a finger presses that are smaller than TAP: buttons,
// fields, the options line, and the labels around radio buttons and boxes.
function smallTargets(page) {
  return page.$$eval('button, select, summary, input[type="text"], input[type="search"], textarea, label:has(input)', (els, tap) =>
    els.filter((el) => el.offsetParent !== null && !el.closest('.visually-hidden'))
      .map((el) => ({ el, box: el.getBoundingClientRect() }))
      .filter(({ box }) => box.width < tap - 0.5 || box.height < tap - 0.5)
      .map(({ el, box }) => `${el.id || el.textContent.trim().slice(0, 20)} ${box.width.toFixed(0)}×${box.height.toFixed(0)}`), TAP);
}

// Each main state of the page: [name, what brings it about].
const STATES = [
  ['convert', async (page) => { await page.fill('#input', '陳大文 王小明 衛'); await page.waitForSelector('#chars tbody tr'); }],
  ['options', (page) => choose(page, {})],
  // Codes read as written, with the notes under the result.
  ['report', async (page) => { await page.fill('#input', 'HK$1999 1949年 0022 99999'); await page.waitForSelector('#report:not([hidden])'); }],
  ['name', async (page) => { await page.click('nav button[data-view="name"]'); await page.fill('#name-input', '歐陽大文'); }],
  ['check', async (page) => {
    await page.click('nav button[data-view="check"]');
    await page.fill('#check-name', '中文');
    await page.fill('#check-codes', '0023 2429');
  }],
  ['book', async (page) => { await page.click('nav button[data-view="book"]'); await page.waitForSelector('#book-list button'); }],
];

for (const [name, viewport] of [['phone', PHONE], ['desktop', DESKTOP]]) {
  for (const locale of ['zh-HK', 'zh-CN', 'en-US']) {
    test(`${name}, ${locale}: every state fits, has large targets and passes axe`, async () => {
      const { page, context, site, errors } = await openPage(browser, { viewport, locale });
      try {
        for (const [state, enter] of STATES) {
          await enter(page);
          const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
          assert.ok(overflow <= 0, `${state}: ${overflow} px wider than the screen`);
          // A table that scrolls sideways hides its last book off the screen.
          const hidden = await page.$$eval('.table-wrap', (ws) => ws.map((w) => w.scrollWidth - w.clientWidth).filter((d) => d > 0));
          assert.deepEqual(hidden, [], `${state}: a table wider than its box`);
          assert.deepEqual(await smallTargets(page), [], `${state}: targets under ${TAP} px`);
          assert.deepEqual(await axeViolations(page), [], `${state}: axe`);
          if (ARTIFACTS) await page.screenshot({ path: join(ARTIFACTS, `web-${name}-${locale}-${state}.png`), fullPage: true });
        }
        assert.deepEqual(errors, []);
      } finally {
        await context.close();
        await site.close();
      }
    });
  }
}

test('every control is reached with Tab, with a visible focus', async () => {
  const { page, context, site } = await openPage(browser, { viewport: PHONE });
  // Tab from the top of the page to the input, type, open the options from
  // the keyboard, then on to the copy button.
  const reached = [];
  for (let i = 0; i < 40; ++i) {
    await page.keyboard.press('Tab');
    const info = await page.evaluate(() => {
      const el = document.activeElement;
      const style = getComputedStyle(el);
      return { id: el.id || el.name || el.dataset.view || el.tagName, outline: style.outlineStyle };
    });
    reached.push(info.id);
    assert.notEqual(info.outline, 'none', `${info.id} shows no focus`);
    if (info.id === 'input') await page.keyboard.type('0022 ');
    if (info.id === 'SUMMARY' && !reached.includes('direction')) await page.keyboard.press('Enter');
    if (info.id === 'copy') break;
  }
  for (const id of ['language', 'convert', 'name', 'input', 'SUMMARY', 'direction', 'book', 'variants', 'typed-rule', 'copy']) {
    assert.ok(reached.includes(id), `${id} not reached by Tab: ${reached.join(' ')}`);
  }
  assert.equal(await page.inputValue('#output'), '中');
  // Arrow keys move within a group of options, as in any form.
  await page.focus('input[name="direction"][value="auto"]');
  await page.keyboard.press('ArrowRight');
  assert.equal(await page.evaluate(() => document.activeElement.value), '1');
  assert.ok(await page.isChecked('input[name="direction"][value="1"]'));
  await page.focus('#clear');
  await page.keyboard.press('Enter');
  assert.equal(await page.inputValue('#input'), '');
  await context.close();
  await site.close();
});
