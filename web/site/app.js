// The page: converts as the user types, lays out a name for a form, checks
// codes someone was given, copies, downloads and browses the code books.
import { BOOKS, CHAR_TO_CODE, MAINLAND, TAIWAN, loadConverter } from './convert.js';
import { buildCsv, download, resultText, unicodeName } from './export.js';
import { LANGUAGE_KEY, chosenLanguage, language, regionIsTraditional, scriptOfBook, setLanguage, t } from './i18n.js';
import { BookBrowser } from './book.js';
import { bookName, markBooks, note, reportNodes } from './parts.js';
import { nameView } from './name-view.js';
import { checkView } from './check-view.js';
import { OffThread } from './off-thread.js';
import { ResultView } from './result-view.js';
import { showLoading, watchForUpdates } from './status.js';

const $ = (id) => document.getElementById(id);
const TABLE_ROWS = 500;  // beyond this the table would slow typing; the CSV has every row

let converter = null;
let offThread = null;  // converts long inputs in a worker
let view = null;  // the result box
let updates = 0;  // counts changes, so that a late result of an older one is dropped
const LONG_INPUT = 10_000;  // characters; shorter ones convert at once, on the main thread
let bookBrowser = null;
let names = null;  // the name view
let checks = null;  // the check view
let side = '';  // the Chinese side of the current conversion, listed in the table
let activeBook = MAINLAND;  // the book of the current conversion
let shown = { text: '', uncoded: [], uncodedCount: 0 };  // the current result, for the text download
const locales = navigator.languages?.length ? navigator.languages : [navigator.language ?? ''];

function chosen(name) {
  return document.querySelector(`input[name="${name}"]:checked`).value;
}

// The book unless the user chose one (`choice`, the options' by default):
// traditional input, or a user of Hong Kong, Macau or Taiwan (by the
// browser's languages or the interface), gets the Hong Kong/Macau/Taiwan
// book. `why` says which of them decided.
function bookFor(text, choice = chosen('book')) {
  if (choice !== 'auto') return { book: Number(choice), why: '' };
  if (converter.looksTraditional(text)) return { book: TAIWAN, why: 'byInput' };
  if (regionIsTraditional(locales) || language() === 'zh-Hant') return { book: TAIWAN, why: 'byLocale' };
  return { book: MAINLAND, why: '' };
}

function showReport(result, book) {
  const nodes = reportNodes(result, book);
  $('report-text').replaceChildren(...nodes.flatMap((n, i) => (i ? [' ', n] : [n])));
  $('read-as-written').hidden = !result.report.codesWithoutSpace;
  $('report').hidden = nodes.length === 0;
}

let tablePending = false;

async function update() {
  if (!converter) return;
  const text = $('input').value;
  const auto = chosen('direction') === 'auto';
  const direction = auto ? converter.guessDirection(text) : Number(chosen('direction'));
  const { book, why } = bookFor(text);
  // e-CCC's simplified column for a simplified interface, else its traditional one.
  const script = language() === 'zh-Hans' ? 1 : 0;
  const standardForms = $('standard-forms').checked;
  const request = { direction, book, variants: $('variants').checked, asWritten: !$('typed-rule').checked, script, standardForms };
  const change = ++updates;
  const long = text.length > LONG_INPUT;
  if (long) {
    offThread ??= new OffThread(converter);
    $('output').setAttribute('aria-busy', 'true');
  }
  const converted = long ? await offThread.latest('convert', request, text) : converter.convert(request, text);
  if (!converted || change !== updates) return;  // a later change is being converted
  $('output').removeAttribute('aria-busy');
  const result = { ...converted, standardForms };
  view.show(result.text);
  $('input').lang = $('output').lang = scriptOfBook(book, script);
  showReport(result, book);
  shown = result;
  activeBook = book;
  const directionName = t(direction === CHAR_TO_CODE ? 'charToCode' : 'codeToChar');
  $('summary').textContent = `${auto && !text ? t('auto') : directionName} · ${bookName(book)}`;
  $('book-used').textContent = t('bookUsed', bookName(book)) + (why ? t(why) : '');
  document.body.dataset.direction = String(direction);
  document.body.dataset.book = String(book);
  side = direction === CHAR_TO_CODE ? text : result.text;
  // The table follows once the frame with the result has been drawn, so that
  // the result shows at once.
  if (!tablePending) {
    tablePending = true;
    requestAnimationFrame(() => setTimeout(() => {
      tablePending = false;
      renderTable();
    }));
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

// The table lays out its first rows at once and the next ones as its end
// scrolls into view: 500 rows would take a phone a good part of a second.
const TABLE_CHUNK = 40;
let tableRows = [];
let tableKey = '';  // what the table lists: its book, language and characters
const nearTableEnd = new IntersectionObserver((entries) => {
  for (const { isIntersecting, target } of entries) {
    if (!isIntersecting) continue;
    nearTableEnd.unobserve(target);
    if (target.parentElement === $('chars').tBodies[0]) appendRows(target.parentElement);
  }
}, { rootMargin: '300px' });

function tableRow(row) {
  const tr = document.createElement('tr');
  const th = document.createElement('th');
  th.scope = 'row';
  th.lang = scriptOfBook(activeBook);
  th.textContent = row.ch;
  th.title = unicodeName(row.ch);
  tr.append(th, ...BOOKS.map((book) => codeCell(row.books[book], row.ch, book)));
  return tr;
}

function appendRows(body) {
  const from = body.rows.length;
  body.append(...tableRows.slice(from, from + TABLE_CHUNK).map(tableRow));
  if (body.rows.length < tableRows.length) nearTableEnd.observe(body.lastElementChild);
}

function renderTable() {
  const { rows, total } = converter.characters(side, TABLE_ROWS);
  $('chars').hidden = total === 0;
  $('chars-empty').hidden = total > 0;
  $('chars-more').hidden = total <= TABLE_ROWS;
  $('chars-more').textContent = t('charsMore', TABLE_ROWS, total);
  // A keystroke at the end of a long text leaves the listed characters as they were.
  const key = `${activeBook} ${language()} ${rows.map((r) => r.ch).join('')}`;
  if (key === tableKey) return;
  tableKey = key;
  tableRows = rows;
  const body = document.createElement('tbody');
  $('chars').tBodies[0].replaceWith(body);
  markBooks($('chars'), activeBook);
  appendRows(body);
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
  names.refresh();
  checks.update();
  // The book view lists a whole book: only when it is shown (showView).
  if (document.body.dataset.view === 'book') bookBrowser.render();
}

function wire() {
  $('input').addEventListener('input', update);
  for (const el of document.querySelectorAll('input[name="direction"], input[name="book"], #typed-rule, #variants, #standard-forms')) {
    el.addEventListener('change', () => {
      update();
      names.update();
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
  $('download-text').addEventListener('click', () => download('yishu.txt', resultText(shown), 'text/plain'));
  $('download-csv').addEventListener('click', () => download('yishu.csv', csv(), 'text/csv'));
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
  setLanguage(chosenLanguage(saved, locales));
  $('language').value = language();
  view = new ResultView($('output'));
  const loaded = showLoading($('output'));
  // The page is drawn before the converter's download begins, which would
  // otherwise hold the first paint back on a slow link (a page out of sight
  // draws nothing, and does not wait).
  if (document.visibilityState === 'visible') await new Promise((drawn) => requestAnimationFrame(() => setTimeout(drawn)));
  try {
    converter = await loadConverter();
  } catch (e) {
    say(t('loadFailed', e.message));
    return;
  }
  loaded();
  // Staging wrote the page's version; the core's differs only in a mixed cache.
  const version = `yishu ${converter.core.version()}`;
  if ($('version').textContent !== version) $('version').textContent = version;
  $('book-choice').value = String(regionIsTraditional(locales) || language() === 'zh-Hant' ? TAIWAN : MAINLAND);
  bookBrowser = new BookBrowser(converter, copy);
  names = nameView({ converter, bookFor, variants: () => $('variants').checked, copy });
  checks = checkView({ converter });
  wire();
  refresh();
  document.body.dataset.ready = 'true';
  // The core builds its look-up tables on first use (some 100 ms on a phone):
  // when the user turns to the input, not while the page loads. The worker
  // for long texts, on a thread of its own, starts now and builds its own.
  if (document.activeElement === $('input')) converter.warmUp();
  else $('input').addEventListener('focus', () => converter.warmUp(), { once: true });
  setTimeout(() => { offThread ??= new OffThread(converter); });
  watchForUpdates();
}

start();
