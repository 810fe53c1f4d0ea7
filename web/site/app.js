// The page: converts as the user types, lays out a name for a form, checks
// codes someone was given, copies, downloads and browses the code books.
import { BOOKS, CHAR_TO_CODE, CODE_TO_CHAR, MAINLAND, TAIWAN, loadConverter } from './convert.js';
import { buildCsv, download, unicodeName } from './export.js';
import { LANGUAGES, language, languageFor, regionIsTraditional, scriptOfBook, setLanguage, t } from './i18n.js';
import { BookBrowser } from './book.js';
import { FIELD_LIMIT, splitName } from './name.js';
import { checkCodes } from './check.js';

const $ = (id) => document.getElementById(id);
const TABLE_ROWS = 500;  // beyond this the table would slow typing; the CSV has every row
const LANGUAGE_KEY = 'yishu-language';

let converter = null;
let bookBrowser = null;
let side = '';  // the Chinese side of the current conversion, listed in the table
let activeBook = MAINLAND;  // the book of the current conversion
const locales = navigator.languages?.length ? navigator.languages : [navigator.language ?? ''];

function chosen(name) {
  return document.querySelector(`input[name="${name}"]:checked`).value;
}

const bookName = (book) => t(book === TAIWAN ? 'taiwan' : 'mainland');

// The book unless the user chose one: traditional input, or a user of Hong
// Kong, Macau or Taiwan (by the browser's languages or the interface), gets
// the Hong Kong/Macau/Taiwan book. `why` says which of them decided.
function bookFor(text) {
  const choice = chosen('book');
  if (choice !== 'auto') return { book: Number(choice), why: '' };
  if (converter.looksTraditional(text)) return { book: TAIWAN, why: 'byInput' };
  if (regionIsTraditional(locales) || language() === 'zh-Hant') return { book: TAIWAN, why: 'byLocale' };
  return { book: MAINLAND, why: '' };
}

// Chinese text inside the interface's text, marked with its language.
function chinese(text, book) {
  const span = document.createElement('span');
  span.lang = scriptOfBook(book);
  span.textContent = text;
  return span;
}

function note(entry) {
  if (entry.ambiguous) return entry.choices ? t('ambiguousChoices', entry.choices) : t('ambiguous');
  if (!entry.code) return t('noCode');
  return entry.via ? t('through', entry.via) : '';
}

// What the user may want to know about a result: codes left unconverted and
// why, characters found through a variant, and every character left without
// a code, counted and listed.
function reportNodes(result, book) {
  const { report } = result;
  const nodes = [];
  if (report.codesWithoutSpace) nodes.push(t('codesWithoutSpace', report.codesWithoutSpace));
  if (report.keptRuns) nodes.push(t('keptRuns', report.keptRuns));
  if (report.throughVariant) nodes.push(t('throughVariant', report.throughVariant));
  // The characters come last, in a span of their own language.
  if (result.uncodedCount) nodes.push(t('uncoded', result.uncodedCount), chinese(result.uncoded.join('、'), book));
  return nodes;
}

function showReport(result, book) {
  const nodes = reportNodes(result, book);
  $('report-text').replaceChildren(...nodes.flatMap((n, i) => (i && typeof n === 'string' ? [' ', n] : [n])));
  $('read-as-written').hidden = !result.report.codesWithoutSpace;
  $('report').hidden = nodes.length === 0;
}

let tablePending = false;

function update() {
  if (!converter) return;
  const text = $('input').value;
  const auto = chosen('direction') === 'auto';
  const direction = auto ? converter.guessDirection(text) : Number(chosen('direction'));
  const { book, why } = bookFor(text);
  const request = { direction, book, variants: $('variants').checked, asWritten: !$('typed-rule').checked };
  const result = converter.convert(request, text);
  $('output').value = result.text;
  $('output').lang = direction === CODE_TO_CHAR ? scriptOfBook(book) : 'zxx';
  showReport(result, book);
  activeBook = book;
  const directionName = t(direction === CHAR_TO_CODE ? 'charToCode' : 'codeToChar');
  $('summary').textContent = `${auto && !text ? t('auto') : directionName} · ${bookName(book)}`;
  $('book-used').textContent = t('bookUsed', bookName(book)) + (why ? t(why) : '');
  document.body.dataset.direction = String(direction);
  document.body.dataset.book = String(book);
  side = direction === CHAR_TO_CODE ? text : result.text;
  // The table follows on the next frame, so that the result shows at once.
  if (!tablePending) {
    tablePending = true;
    requestAnimationFrame(() => {
      tablePending = false;
      renderTable();
    });
  }
}

// The column titles of the books, the book in use marked.
function markBooks(table, active) {
  for (const th of table.querySelectorAll('thead th[data-book]')) {
    const book = Number(th.dataset.book);
    th.textContent = bookName(book) + (book === active ? t('inUse') : '');
    th.classList.toggle('active', book === active);
  }
}

function copyButton(code, ch, book) {
  const b = document.createElement('button');
  b.type = 'button';
  b.className = 'copy-code';
  b.dataset.copy = code;
  const hidden = document.createElement('span');
  hidden.className = 'visually-hidden';
  hidden.textContent = ' ' + t('copyCharCode', ch, bookName(book));
  b.append(code, hidden);
  return b;
}

function codeCell(entry, ch, book) {
  const td = document.createElement('td');
  if (book === activeBook) td.className = 'active';
  if (entry.code) td.append(copyButton(entry.code, ch, book));
  else td.textContent = '—';
  const n = note(entry);
  if (n) {
    const span = document.createElement('span');
    span.className = entry.code && !entry.ambiguous ? 'note' : 'note missing';
    span.textContent = n;
    td.append(' ', span);
  }
  return td;
}

function renderTable() {
  const { rows, total } = converter.characters(side, TABLE_ROWS);
  const body = document.createElement('tbody');
  for (const row of rows) {
    const tr = document.createElement('tr');
    const th = document.createElement('th');
    th.scope = 'row';
    th.lang = scriptOfBook(activeBook);
    th.textContent = row.ch;
    th.title = unicodeName(row.ch);
    tr.append(th, ...BOOKS.map((book) => codeCell(row.books[book], row.ch, book)));
    body.append(tr);
  }
  $('chars').tBodies[0].replaceWith(body);
  markBooks($('chars'), activeBook);
  $('chars-empty').hidden = total > 0;
  $('chars-more').hidden = total <= TABLE_ROWS;
  $('chars-more').textContent = t('charsMore', TABLE_ROWS, total);
}

// The name view: the surname's codes and the given names' codes apart.
let nameChars = '';

function updateName() {
  if (!converter) return;
  const { chars, split } = splitName($('name-input').value);
  const select = $('name-split');
  if (chars.join('') !== nameChars || select.options.length !== Math.max(chars.length - 1, 1)) {
    nameChars = chars.join('');
    const options = [];
    for (let k = 1; k < Math.max(chars.length, 2); ++k) {
      const o = document.createElement('option');
      o.value = String(k);
      o.textContent = `${chars.slice(0, k).join('')}｜${chars.slice(k).join('')}`;
      options.push(o);
    }
    select.replaceChildren(...options);
    select.value = String(Math.max(split, 1));
  }
  select.disabled = chars.length < 2;
  const k = chars.length < 2 ? chars.length : Number(select.value);
  const { book, why } = bookFor(nameChars);
  select.lang = scriptOfBook(book);
  $('name-book').textContent = chars.length ? t('bookUsed', bookName(book)) + (why ? t(why) : '') : '';
  const uncoded = [];
  let uncodedCount = 0;
  for (const [part, text] of [['surname', chars.slice(0, k).join('')], ['given', chars.slice(k).join('')]]) {
    const result = converter.convert({ direction: CHAR_TO_CODE, book, variants: $('variants').checked, asWritten: true }, text);
    $(`${part}-codes`).textContent = result.text;
    const length = result.text.length;
    $(`${part}-length`).textContent = !length ? '' : length > FIELD_LIMIT ? t('tooLong', length) : t('fieldLength', length);
    $(`${part}-length`).classList.toggle('warning', length > FIELD_LIMIT);
    $(`copy-${part}`).disabled = !length;
    uncoded.push(...result.uncoded);
    uncodedCount += result.uncodedCount;
  }
  const report = reportNodes({ report: {}, uncoded: [...new Set(uncoded)], uncodedCount }, book);
  $('name-report').replaceChildren(...report);
  $('name-report').hidden = report.length === 0;
}

// The check view: each character of a name against the code given for it.
function checkNote(row, book) {
  const r = row.books[book];
  if (r.ok) return t('checkOk');
  if (!row.ch) return t('checkExtra');
  if (!row.code) return t('checkMissing');
  if (!/^\d{4}$/.test(row.code)) return t('checkNotCode', row.code);
  const entry = converter.lookup(row.ch)[book];
  const expected = entry.ambiguous ? t('ambiguousChoices', entry.choices) : r.expected;
  const stands = r.stands ? t('checkStands', row.code, r.stands) : t('checkNoChar', row.code);
  return stands + t('separator') + (expected ? t('checkIs', row.ch, expected) : t('checkNoCode', row.ch));
}

function updateCheck() {
  if (!converter) return;
  const rows = checkCodes(converter, $('check-name').value, $('check-codes').value);
  const body = document.createElement('tbody');
  for (const row of rows) {
    const tr = document.createElement('tr');
    const th = document.createElement('th');
    th.scope = 'row';
    th.lang = 'zh';
    th.textContent = row.ch || '—';
    const code = document.createElement('td');
    code.textContent = row.code || '—';
    tr.append(th, code);
    for (const book of BOOKS) {
      const td = document.createElement('td');
      td.className = row.books[book].ok ? 'ok' : 'wrong';
      td.dataset.book = String(book);
      td.textContent = (row.books[book].ok ? '✓ ' : '✗ ') + checkNote(row, book);
      tr.append(td);
    }
    body.append(tr);
  }
  $('check-table').tBodies[0].replaceWith(body);
  markBooks($('check-table'), -1);
  $('check-table').hidden = rows.length === 0;
  $('check-empty').hidden = rows.length > 0;
}

function say(message) {
  const status = $('status');
  status.textContent = message;
  status.classList.add('shown');
  clearTimeout(say.timer);
  say.timer = setTimeout(() => status.classList.remove('shown'), 4000);
}

// The clipboard API needs a secure origin; a page served over plain HTTP on a
// local network copies the old way.
function copyByCommand(text) {
  const area = document.createElement('textarea');
  area.value = text;
  area.setAttribute('readonly', '');
  area.className = 'visually-hidden';
  const focused = document.activeElement;
  document.body.append(area);
  area.select();
  const copied = document.execCommand('copy');
  area.remove();
  focused?.focus();
  return copied;
}

async function copy(text) {
  let copied = false;
  try {
    await navigator.clipboard.writeText(text);
    copied = true;
  } catch {
    copied = copyByCommand(text);
  }
  say(copied ? t('copied', text.length > 40 ? text.slice(0, 40) + '…' : text) : t('copyFailed'));
}

// The per-character table with every row, each book's code and note.
function csv() {
  const header = [t('colChar'), t('colUnicode'), ...BOOKS.flatMap((b) => [bookName(b), `${bookName(b)} ${t('colNote')}`])];
  const body = converter.characters(side).rows.map((row) => [
    row.ch, unicodeName(row.ch), ...BOOKS.flatMap((b) => [{ code: row.books[b].code }, note(row.books[b])]),
  ]);
  return buildCsv(header, body);
}

function showView(name) {
  for (const b of document.querySelectorAll('nav.views button')) b.setAttribute('aria-pressed', String(b.dataset.view === name));
  for (const v of document.querySelectorAll('main .view')) v.hidden = v.id !== `view-${name}`;
  document.body.dataset.view = name;
  if (name === 'book') bookBrowser.render();
}

function refresh() {
  update();
  updateName();
  updateCheck();
  bookBrowser.render();
}

function wire() {
  $('input').addEventListener('input', update);
  for (const el of document.querySelectorAll('input[name="direction"], input[name="book"], #typed-rule, #variants')) {
    el.addEventListener('change', () => {
      update();
      updateName();
    });
  }
  $('clear').addEventListener('click', () => {
    $('input').value = '';
    update();
    $('input').focus();
  });
  $('copy').addEventListener('click', () => copy($('output').value));
  $('read-as-written').addEventListener('click', () => {
    $('typed-rule').checked = false;
    update();
    $('input').focus();
  });
  $('chars').addEventListener('click', (e) => {
    const code = e.target.closest('button[data-copy]')?.dataset.copy;
    if (code) copy(code);
  });
  $('download-text').addEventListener('click', () => download('yishu.txt', $('output').value, 'text/plain'));
  $('download-csv').addEventListener('click', () => download('yishu.csv', csv(), 'text/csv'));
  $('name-input').addEventListener('input', updateName);
  $('name-split').addEventListener('change', updateName);
  $('copy-surname').addEventListener('click', () => copy($('surname-codes').textContent));
  $('copy-given').addEventListener('click', () => copy($('given-codes').textContent));
  $('check-name').addEventListener('input', updateCheck);
  $('check-codes').addEventListener('input', updateCheck);
  for (const b of document.querySelectorAll('nav.views button')) b.addEventListener('click', () => showView(b.dataset.view));
  $('language').addEventListener('change', () => {
    setLanguage($('language').value);
    try { localStorage.setItem(LANGUAGE_KEY, language()); } catch { /* private mode */ }
    refresh();
  });
}

async function start() {
  let saved = null;
  try { saved = localStorage.getItem(LANGUAGE_KEY); } catch { /* private mode */ }
  setLanguage(LANGUAGES.includes(saved) ? saved : saved === 'zh' ? 'zh-Hans' : languageFor(locales));
  $('language').value = language();
  try {
    converter = await loadConverter();
  } catch (e) {
    say(t('loadFailed', e.message));
    return;
  }
  $('version').textContent = `yishu ${converter.core.version()}`;
  $('book-choice').value = String(regionIsTraditional(locales) || language() === 'zh-Hant' ? TAIWAN : MAINLAND);
  bookBrowser = new BookBrowser(converter, copy);
  wire();
  refresh();
  document.body.dataset.ready = 'true';
  setTimeout(() => converter.warmUp(), 0);
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('./sw.js').catch(() => { /* the page works without it */ });
  }
}

start();
