// Users in Hong Kong, Macau, Taiwan, the mainland and elsewhere, each with the
// browser in their own language, typing a name or its codes on a phone: the
// interface language, the book and the result are the right ones, and the
// result is in view above the soft keyboard.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { PHONE, launch, openPage } from './browser.mjs';
import { coreConvert } from './oracle.mjs';
import { NAMES } from './cases.mjs';

let browser;
before(async () => { browser = await launch(); });
after(() => browser?.close());

// Above a phone's soft keyboard, which takes about the lower 40 % of the screen.
const ABOVE_KEYBOARD = PHONE.height * 0.6;

for (const c of NAMES) {
  test(`${c.locale}: ${c.input}`, async () => {
    const { page, context, site, errors } = await openPage(browser, { viewport: PHONE, locale: c.locale });
    try {
      assert.equal(await page.getAttribute('html', 'lang'), c.ui);
      await page.click('#input');
      await page.keyboard.type(c.input);
      const direction = /\d/.test(c.input[0]) ? 0 : 1;
      const core = coreConvert({ direction, book: c.book, variants: true, asWritten: true }, c.input);
      const shown = await page.inputValue('#output');
      // A name has no digits of its own: a character without a code stands
      // one space apart from the codes, and no space ends the result.
      assert.equal(shown, direction ? core.replace(/([^\s\d])(?=\d)/gu, '$1 ').trimEnd() : core);
      if (c.uncoded) assert.match(await page.textContent('#report'), new RegExp(`1\\D+${c.uncoded}`));
      if (c.starts) assert.ok(shown.startsWith(c.starts), shown);
      assert.equal(await page.getAttribute('body', 'data-book'), String(c.book));
      await page.waitForSelector(`#chars thead th.active[data-book="${c.book}"]`);
      // The line under the result names the book the table marks.
      const book = (await page.textContent('#chars thead th.active')).replace(/[（(].*$/, '').trim();
      assert.ok((await page.textContent('#book-used')).includes(book), book);
      if (c.ambiguousInMainland) {
        const row = page.locator('#chars tbody tr', { has: page.locator(`th:text-is("${c.ambiguousInMainland}")`) });
        assert.match(await row.locator('td').last().textContent(), /ambiguous|歧义|歧義/);
      }
      const box = await page.locator('#output').boundingBox();
      assert.ok(box.y >= 0 && box.y + 40 <= ABOVE_KEYBOARD, `the result starts at y = ${box.y}`);
      console.log(`# ${c.locale} ${c.input}: result at y = ${box.y.toFixed(0)} of ${PHONE.height}`);
      assert.deepEqual(errors, []);
    } finally {
      await context.close();
      await site.close();
    }
  });
}

test('the chosen interface language outlives a reload, and marks other scripts', async () => {
  const { page, context, site } = await openPage(browser, { locale: 'zh-HK' });
  try {
    for (const [lang, label] of [['en', 'Input'], ['zh-Hans', '输入'], ['zh-Hant', '輸入']]) {
      await page.selectOption('#language', lang);
      await page.waitForSelector(`html[lang="${lang}"]`);
      assert.equal(await page.textContent('label[for="input"]'), label);
      await page.reload();
      await page.waitForSelector('body[data-ready="true"]');
      assert.equal(await page.getAttribute('html', 'lang'), lang);
      assert.equal(await page.inputValue('#language'), lang);
    }
    await page.selectOption('#language', 'en');
    await page.fill('#input', '衛志強');
    await page.waitForSelector('#chars tbody tr');
    // Chinese inside the English page carries its language.
    assert.deepEqual(await page.$$eval('#chars tbody th', (ths) => ths.map((th) => th.lang)), ['zh-Hant', 'zh-Hant', 'zh-Hant']);
    assert.deepEqual(await page.$$eval('#language option', (os) => os.map((o) => o.lang)), ['zh-Hant', 'zh-Hans', 'en']);
  } finally {
    await context.close();
    await site.close();
  }
});
