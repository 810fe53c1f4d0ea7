// The two books and variant look-up as the page offers them: the suggestion
// of the Taiwan book for traditional text, the notes of the per-character
// table, the report line and browsing either book.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, paste } from './browser.mjs';
import { closeCheckedPage, coreConvert, openCheckedPage, telecode } from './oracle.mjs';

let browser, page, site;
let pageFeatures, features;  // what the page offers; what telecode can check of it
before(async () => {
  ({ browser, page, site, pageFeatures, features } = await openCheckedPage());
});
after(() => closeCheckedPage({ browser, site }));

const needs = (t, feature) => {
  if (features.includes(feature)) return false;
  t.skip(pageFeatures.includes(feature) ? `telecode cannot check ${feature} yet`
                                        : `this build of the core has no ${feature}`);
  return true;
};

test('traditional text brings the suggestion of the Taiwan book', async (t) => {
  if (!pageFeatures.includes('taiwan')) return t.skip('this build of the core has no Taiwan book');
  await page.check('input[name="direction"][value="auto"]');
  await page.check('input[name="book"][value="0"]');
  for (const [text, suggested] of [['陳大文', true], ['陈大文', false], ['0022 2429 ', false]]) {
    await page.fill('#input', '');
    await paste(page, '#input', text);
    assert.equal(await page.isVisible('#suggest'), suggested, text);
  }
  await page.fill('#input', '陳大文');
  await page.click('#use-taiwan');
  assert.ok(await page.isChecked('input[name="book"][value="1"]'));
  assert.equal(await page.isVisible('#suggest'), false);
  // 陳大文 in the Taiwan book, as telecode --book taiwan gives it.
  assert.equal(await page.inputValue('#output'), '7115 1129 2429');
  if (features.includes('taiwan') && features.includes('variants')) {
    const variants = await page.isChecked('#variants');
    assert.equal(await page.inputValue('#output'),
      coreConvert({ direction: 1, book: 1, variants }, '陳大文').trimEnd());
  }
});

test('the table says which variant a code came through, and when it is ambiguous', async (t) => {
  if (!pageFeatures.includes('variants')) return t.skip('this build of the core has no variants');
  await page.check('input[name="direction"][value="1"]');
  await page.check('input[name="book"][value="0"]');
  await page.fill('#input', '陳葉鍾中');
  await page.waitForFunction(() => document.querySelectorAll('#chars tbody tr').length === 4);
  const mainland = await page.$$eval('#chars tbody tr', (trs) => trs.map((tr) => tr.children[1].textContent.trim()));
  // As the two-book look-up gives them: 陳 through 陈, 葉 through 叶, 鍾 has
  // two variants with different codes.
  assert.match(mainland[0], /^7115\s+经由“陈”$/);
  assert.match(mainland[1], /^0673\s+经由“叶”$/);
  assert.match(mainland[2], /^—\s+有歧义/);
  assert.equal(mainland[3], '0022');
  if (pageFeatures.includes('taiwan')) {
    const taiwan = await page.$$eval('#chars tbody tr', (trs) => trs.map((tr) => tr.children[2].textContent.trim()));
    assert.deepEqual(taiwan.slice(0, 2), ['7115', '5509']);
  }
  // The report line counts what the conversion did.
  await page.check('#variants');
  assert.match(await page.textContent('#report'), /1 个字的繁简字形对应不同电码/);
  assert.match(await page.textContent('#report'), /2 个字经由繁简字形查到电码/);
});

test('either book can be browsed and searched', async (t) => {
  const books = features.includes('taiwan') ? [['0', ''], ['1', '--book=taiwan']] : [['0', '']];
  for (const [book, option] of books) {
    await page.selectOption('#book-choice', book);
    const list = telecode(['--list', ...(option ? [option] : [])], '').trim().split('\n')
      .map((l) => l.split('\t'));
    await page.fill('#book-search', '');
    assert.match(await page.textContent('#book-count'), new RegExp(`^(共 ${list.length} 条|${list.length} entries)`));
    const first = await page.$$eval('#book-list button', (bs) => bs.slice(0, 3).map((b) => b.dataset.copy + b.textContent.slice(4)));
    assert.deepEqual(first, list.slice(0, 3).map(([code, ch]) => code + ch));
    // By code, by the start of a code, by characters (full-width digits too).
    for (const [query, expected] of [
      ['0022', list.filter(([c]) => c === '0022')],
      ['002', list.filter(([c]) => c.startsWith('002'))],
      ['００２２', list.filter(([c]) => c === '0022')],
      ['中文', list.filter(([, ch]) => ch === '中' || ch === '文')],
    ]) {
      await page.fill('#book-search', query);
      const shown = await page.$$eval('#book-list button', (bs) => bs.map((b) => b.dataset.copy));
      assert.deepEqual(shown, expected.map(([code]) => code).slice(0, 120), query);
    }
    // Pages of the whole book follow one another.
    await page.fill('#book-search', '');
    await page.click('#book-next');
    assert.equal(await page.getAttribute('#book-list li:first-child button', 'data-copy'), list[120][0]);
    await page.click('#book-prev');
    assert.ok(await page.isDisabled('#book-prev'));
  }
});

test('codes are read as written, with the typing rule a click away', async (t) => {
  if (needs(t, 'asWritten')) return;
  const { page: fresh, context, site: freshSite } = await openPage(browser);
  try {
    // As written by default: an identity card's codes, one code per line.
    assert.equal(await fresh.isChecked('#typed-rule'), false);
    for (const text of ['7115 1129 2429', '0022\n2429\n', '5618/1947/0948', '00222429']) {
      await fresh.fill('#input', text);
      assert.equal(await fresh.inputValue('#output'), coreConvert({ direction: 0, book: 0, asWritten: true }, text), text);
    }
    await fresh.fill('#input', '0022 12345 2429');
    assert.match(await fresh.textContent('#report'), /有 1 组数字不是电码/);

    // The typing rule leaves a code without its space, and says so.
    await fresh.check('#typed-rule');
    await fresh.fill('#input', '0022 2429');
    assert.equal(await fresh.inputValue('#output'), '中2429');
    assert.match(await fresh.textContent('#report'), /有 1 个电码因后面没有空格而未转换/);
    await fresh.click('#read-as-written');
    assert.equal(await fresh.isChecked('#typed-rule'), false);
    assert.equal(await fresh.inputValue('#output'), '中文');
    assert.equal(await fresh.isVisible('#report'), false);
  } finally {
    await context.close();
    await freshSite.close();
  }
});
