// What leaves the page for a form: the clipboard, the text download and the
// CSV, whose codes keep their leading zeros in a spreadsheet.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { choose, openPage, paste } from './browser.mjs';
import { closeCheckedPage, coreCodes, openCheckedPage } from './oracle.mjs';

let browser, page, site;
before(async () => {
  ({ browser, page, site } = await openCheckedPage({ permissions: ['clipboard-read', 'clipboard-write'] }));
});
after(() => closeCheckedPage({ browser, site }));

const clipboard = () => page.evaluate(() => navigator.clipboard.readText());

async function downloaded(button) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  return { name: download.suggestedFilename(), text: await readFile(await download.path(), 'utf8') };
}

// A minimal CSV reader: quoted cells with doubled quotes, CRLF rows.
function parseCsv(text) {
  const rows = [];
  let row = [], cell = '', quoted = false;
  for (let i = 0; i < text.length; ++i) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') { cell += '"'; ++i; }
      else if (c === '"') quoted = false;
      else cell += c;
    } else if (c === '"') quoted = true;
    else if (c === ',') { row.push(cell); cell = ''; }
    else if (c === '\r' && text[i + 1] === '\n') { row.push(cell); rows.push(row); row = []; cell = ''; ++i; }
    else cell += c;
  }
  assert.equal(cell + row.join(''), '', 'the file ends with a line break');
  return rows;
}

test('copy puts the whole result, or one code, on the clipboard', async () => {
  await choose(page, { direction: 'auto' });
  await page.fill('#input', '');
  await paste(page, '#input', '陈大文\n王小明');
  await page.click('#copy');
  await page.waitForSelector('#status:has-text("已复制")');
  assert.equal(await clipboard(), await page.inputValue('#output'));
  assert.match(await clipboard(), /^\d{4} \d{4} \d{4}\n\d{4} \d{4} \d{4}$/);

  // The button of 大 in the mainland book, found by its name as a screen
  // reader says it.
  const second = page.getByRole('button', { name: '复制“大”在中国大陆码本的电码' });
  const code = await second.getAttribute('data-copy');
  await second.click();
  await page.waitForFunction((c) => document.getElementById('status').textContent.includes(c), code);
  assert.equal(await clipboard(), code);
  assert.deepEqual([code], coreCodes(['大'], { book: 0 }));
  assert.match(await second.textContent(), new RegExp(`^${code}`), 'the name begins with the code shown');
});

test('copy works without the clipboard API too, as on a plain-HTTP origin', async () => {
  const { page: plain, context, site: plainSite } = await openPage(browser, { permissions: ['clipboard-read', 'clipboard-write'] });
  await plain.evaluate(() => Object.defineProperty(navigator, 'clipboard', { value: undefined }));
  await plain.fill('#input', '王小明');
  await plain.click('#copy');
  await plain.waitForSelector('#status:has-text("已复制")');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), await plain.inputValue('#output'));
  assert.equal(await plain.evaluate(() => document.activeElement.id), 'copy', 'the focus stays on the button');
  await context.close();
  await plainSite.close();
});

test('the text download is the result as shown, with the characters left without a code', async () => {
  // [input, what follows the result]
  const cases = [
    ['0022 2429\n7115 ', ''],
    ['陳𠀀文 𠀁𠀀', '\n\n3 个字没有电码： 𠀀、𠀁\n'],
    ['𠀀\n', '\n1 个字没有电码： 𠀀\n'],
  ];
  await choose(page, { direction: 'auto', book: 1, variants: true });
  for (const [input, after] of cases) {
    await page.fill('#input', input);
    const { name, text } = await downloaded('#download-text');
    assert.equal(name, 'yishu.txt');
    assert.equal(text, (await page.inputValue('#output')) + after, input);
    // The same words as under the result.
    const spaceless = (s) => s.replace(/\s+/g, '');
    if (after) assert.ok(spaceless(await page.textContent('#report')).includes(spaceless(after)), input);
  }
});

test('the CSV has a row per character, codes that keep their leading zeros', async () => {
  const input = '中文, "0022" 陳𠀀';
  await choose(page, { direction: 1 });
  await page.fill('#input', input);
  const { name, text } = await downloaded('#download-csv');
  assert.equal(name, 'yishu.csv');
  assert.ok(text.startsWith('\ufeff'), 'a byte-order mark for spreadsheets');
  const [header, ...rows] = parseCsv(text.slice(1));
  assert.equal(header.length, 8);
  assert.deepEqual(header.slice(0, 3), ['字', 'Unicode', '香港・澳门・台湾']);

  const chars = ['中', '文', '陳', '𠀀'];
  assert.deepEqual(rows.map((r) => r[0]), chars);
  assert.deepEqual(rows.map((r) => r[1]), ['U+4E2D', 'U+6587', 'U+9673', 'U+20000']);
  const asCell = (code) => (code ? `="${code}"` : '');
  assert.deepEqual(rows.map((r) => r[2]), coreCodes(chars, { book: 1, variants: true }).map(asCell));
  assert.deepEqual(rows.map((r) => r[6]), coreCodes(chars, { book: 0, variants: true }).map(asCell));
  assert.equal(rows[0][2], '="0022"');
  assert.equal(rows[3][3], '无码');
});

test('the CSV follows the language of the page', async () => {
  await page.selectOption('#language', 'en');
  await page.waitForSelector('html[lang="en"]');
  const { text } = await downloaded('#download-csv');
  assert.ok(text.startsWith('\ufeffCharacter,Unicode,Hong Kong · Macau · Taiwan,'), text.slice(0, 60));
  await page.selectOption('#language', 'zh-Hans');
  await page.waitForSelector('html[lang="zh-Hans"]');
});
