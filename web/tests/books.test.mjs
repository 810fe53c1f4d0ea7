// The two books and variant look-up as the page offers them: the notes of
// the per-character table, the report line and browsing either book.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { choose, openPage } from './browser.mjs';
import { closeCheckedPage, coreConvert, openCheckedPage, telecode } from './oracle.mjs';

let browser, page, site;
before(async () => {
  ({ browser, page, site } = await openCheckedPage());
});
after(() => closeCheckedPage({ browser, site }));

test('the table says which variant a code came through, and when it is ambiguous', async () => {
  await choose(page, { direction: 1, book: 0 });
  await page.fill('#input', '陳葉鍾中');
  await page.waitForFunction(() => document.querySelectorAll('#chars tbody tr').length === 4);
  const cells = (column) => page.$$eval('#chars tbody tr', (trs, i) =>
    trs.map((tr) => tr.children[i].querySelector('button')?.dataset.copy ?? tr.children[i].textContent.trim()), column);
  // What the mainland cells show (not the copy buttons' names for screen readers).
  const mainland = await page.$$eval('#chars tbody tr', (trs) => trs.map((tr) => {
    const cell = tr.children[3].cloneNode(true);
    for (const hidden of cell.querySelectorAll('.visually-hidden')) hidden.remove();
    return cell.textContent.trim();
  }));
  // As the two-book look-up gives them: 陳 through 陈, 葉 through 叶, 鍾 has
  // two variants with different codes.
  assert.match(mainland[0], /^7115\s+经由“陈”$/);
  assert.match(mainland[1], /^0673\s+经由“叶”$/);
  assert.match(mainland[2], /^—\s+有歧义/);
  assert.equal(mainland[3], '0022');
  assert.deepEqual((await cells(1)).slice(0, 2), ['7115', '5509']);
  // The mainland book is the one in use, and marked so.
  assert.equal(await page.getAttribute('#chars thead th.active', 'data-book'), '0');
  // The report line counts what the conversion did, and lists the character
  // left without a code.
  await choose(page, { variants: true });
  assert.match(await page.textContent('#report'), /1 个字没有电码：\s*鍾/);
  assert.match(await page.textContent('#report'), /2 个字经由异体或繁简字形查到电码/);
});

test('either book can be browsed and searched', async () => {
  await page.click('nav button[data-view="book"]');
  const books = [['0', ''], ['1', '--book=taiwan']];
  for (const [book, option] of books) {
    await page.selectOption('#book-choice', book);
    const list = telecode(['--list', ...(option ? [option] : [])], '').trim().split('\n')
      .map((l) => l.split('\t'));
    await page.fill('#book-search', '');
    assert.match(await page.textContent('#book-count'), new RegExp(`^(共 ${list.length} 条|${list.length} entries)`));
    const first = await page.$$eval('#book-list button', (bs) => bs.slice(0, 3).map((b) => b.dataset.copy + b.querySelector('.book-char').textContent));
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
  await page.click('nav button[data-view="convert"]');
});

test('codes are read as written, with the typing rule a click away', async () => {
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
    await choose(fresh, { asWritten: false });
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

test('the banks’ e-CCC book, in the interface’s script, and standard forms when decoding', async () => {
  // [interface, book, standard forms, codes, characters]: e-CCC codes as the
  // published table gives them, both its columns; the Taiwan book's 爲 and 衞
  // as telecode writes them, or as commonly written.
  const cases = [
    ['zh-Hans', 2, true, '7115 1129 2429', '陈大文'],
    ['zh-Hant', 2, true, '7115 1129 2429', '陳大文'],
    ['zh-Hant', 1, true, '3634 5898', '為衛'],
    ['zh-Hant', 1, false, '3634 5898', coreConvert({ direction: 0, book: 1, asWritten: true }, '3634 5898')],
  ];
  for (const [lang, book, standardForms, codes, chars] of cases) {
    await page.selectOption('#language', lang);
    await choose(page, { direction: 'auto', book, asWritten: true });
    await page.setChecked('#standard-forms', standardForms);
    await page.fill('#input', codes);
    assert.equal(await page.inputValue('#output'), chars, `${lang} ${book} ${codes}`);
    if (book === 1) assert.match(await page.textContent('#report'), standardForms ? /2 個電碼的字寫成通行字形/ : /2 個電碼的字是碼本的舊字形/);
    // Characters to codes, e-CCC takes either form.
    await page.fill('#input', chars);
    assert.equal(await page.inputValue('#output'), codes, `${lang} ${book} ${chars}`);
  }
  await page.selectOption('#language', 'zh-Hans');
});
