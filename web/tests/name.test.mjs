// A name for a form, and codes someone was given, checked: the surname and the
// given names as two results with their own copy buttons, the split after a
// double surname, and each character's code checked in each book.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { PHONE } from './browser.mjs';
import { closeCheckedPage, coreConvert, openCheckedPage } from './oracle.mjs';

let browser, page, site;
before(async () => {
  ({ browser, page, site } = await openCheckedPage({
    viewport: PHONE, locale: 'zh-HK', permissions: ['clipboard-read', 'clipboard-write'],
  }));
  await page.click('nav button[data-view="name"]');
});
after(() => closeCheckedPage({ browser, site }));

const codes = (text) => coreConvert({ direction: 1, book: 1, variants: true }, text).trimEnd();

test('the surname and the given names, each with its copy button', async () => {
  // [typed, surname, given names]
  const cases = [
    ['陳大文', '陳', '大文'],
    ['陳 大文', '陳', '大文'],
    ['歐陽大文', '歐陽', '大文'],
    ['欧阳大文', '欧阳', '大文'],
    ['司徒志強', '司徒', '志強'],
    ['諸葛亮', '諸葛', '亮'],
    ['司馬', '司', '馬'],          // two characters: a surname and a given name
    ['黃 嘉欣', '黃', '嘉欣'],
  ];
  for (const [typed, surname, given] of cases) {
    await page.fill('#name-input', '');
    await page.click('#name-input');
    await page.keyboard.type(typed);
    assert.equal(await page.textContent('#surname-codes'), codes(surname), typed);
    assert.equal(await page.textContent('#given-codes'), codes(given), typed);
    assert.doesNotMatch(await page.textContent('#given-codes'), /  | $/, typed);
  }
  await page.fill('#name-input', '陳大文');
  for (const [button, expected] of [['#copy-surname', '7115'], ['#copy-given', '1129 2429']]) {
    await page.click(button);
    await page.waitForFunction((e) => document.getElementById('status').textContent.includes(e), expected);
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), expected);
  }
});

test('the user moves the split', async () => {
  await page.fill('#name-input', '歐陽大文');
  assert.equal(await page.inputValue('#name-split'), '2');
  await page.selectOption('#name-split', '1');
  assert.equal(await page.textContent('#surname-codes'), codes('歐'));
  assert.equal(await page.textContent('#given-codes'), codes('陽大文'));
});

test('a given name too long for a DS-160 field is called so', async () => {
  await page.fill('#name-input', '陳大文');
  assert.doesNotMatch(await page.textContent('#given-length'), /20/);
  await page.fill('#name-input', '陳 大文大文大');
  assert.equal((await page.textContent('#given-codes')).length, 24);
  assert.match(await page.textContent('#given-length'), /^24\D+20/);
  assert.ok(await page.isVisible('#given-length.warning'));
});

test('the view names its book, and the user changes it', async () => {
  // [choice, the book used]: 丘嘉兒 has other codes in each book.
  const cases = [['auto', 1], ['0', 0], ['2', 2], ['1', 1]];
  await page.fill('#name-input', '丘嘉兒');
  for (const [choice, book] of cases) {
    await page.selectOption('#name-book-choice', choice);
    const core = coreConvert({ direction: 1, book, variants: true }, '丘\n嘉兒').trimEnd().split('\n');
    assert.deepEqual([await page.textContent('#surname-codes'), await page.textContent('#given-codes')], core.map((c) => c.trimEnd()), choice);
    const name = await page.textContent(`#name-book-choice option[value="${book}"]`);
    assert.ok((await page.textContent('#name-book')).includes(name), `${choice}: ${await page.textContent('#name-book')}`);
  }
  await page.selectOption('#language', 'en');
  assert.deepEqual(await page.$$eval('#name-book-choice option', (os) => os.map((o) => o.textContent)),
    ['Automatic', 'Hong Kong · Macau · Taiwan', 'Mainland China', 'Banks’ e-CCC']);
  await page.selectOption('#language', 'zh-Hant');
});

test('codes checked against a name, in each book, saying what is wrong', async () => {
  await page.click('nav button[data-view="check"]');
  // [interface, name, codes, the note of each character in the first book, in the mainland book]
  const cases = [
    ['en', '中文', '0023 2429', ['✗ 0023 is 丰; 中 is 0022', '✓ matches'], ['✗ 0023 is 丰; 中 is 0022', '✓ matches']],
    ['zh-Hant', '陳大文', '711511292429', ['✓ 相符', '✓ 相符', '✓ 相符'], ['✓ 相符（經由「陈」）', '✓ 相符', '✓ 相符']],
    ['zh-Hant', '葉', '0673', ['✗ 0673 是「叶」；「葉」是 5509'], ['✓ 相符（經由「叶」）']],
    ['zh-Hans', '中文', '0022', ['✓ 相符', '✗ 缺少电码'], ['✓ 相符', '✗ 缺少电码']],
  ];
  for (const [lang, name, given, first, mainland] of cases) {
    await page.selectOption('#language', lang);
    await page.fill('#check-name', name);
    await page.fill('#check-codes', given);
    const notes = await page.$$eval('#check-table tbody tr', (trs) =>
      trs.map((tr) => [...tr.querySelectorAll('td[data-book]')].map((td) => td.textContent)));
    assert.deepEqual(notes.map((n) => n[0]), first, `${name} ${given}`);
    assert.deepEqual(notes.map((n) => n.at(-1)), mainland, `${name} ${given}`);
  }
});
