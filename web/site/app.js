// The page: converts as the user types, lists each character, copies,
// downloads and browses the code books.
import { CHAR_TO_CODE, TAIWAN, detectDirection, loadConverter } from './convert.js';
import { buildCsv, download, unicodeName } from './export.js';
import { language, setLanguage, t } from './i18n.js';
import { BookBrowser } from './book.js';
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
let side = '';  // the Chinese side of the current conversion, listed in the table

function chosen(name) {
  return document.querySelector(`input[name="${name}"]:checked`).value;
}

function direction(text) {
  const choice = chosen('direction');
  return choice === 'auto' ? detectDirection(text) : Number(choice);
}

function request(text) {
  return {
    direction: direction(text),
    book: Number(chosen('book')),
    variants: $('variants').checked,
    asWritten: !$('typed-rule').checked,
  };
}

function note(entry) {
  if (entry.ambiguous) return entry.choices ? t('ambiguousChoices', entry.choices) : t('ambiguous');
  if (!entry.code) return t('noCode');
  return entry.via ? t('through', entry.via) : '';
}

// One line under the result for what the user may want to know: codes left
// unconverted and why, characters found through a variant or not at all.
function showReport(report) {
  const parts = [];
  if (report.codesWithoutSpace) parts.push(t('codesWithoutSpace', report.codesWithoutSpace));
  if (report.keptRuns) parts.push(t('keptRuns', report.keptRuns));
  if (report.throughVariant) parts.push(t('throughVariant', report.throughVariant));
  if (report.ambiguous) parts.push(t('ambiguousCount', report.ambiguous));
  $('report-text').textContent = parts.join(' ');
  $('read-as-written').hidden = !report.codesWithoutSpace || $('typed-rule').disabled;
  $('report').hidden = parts.length === 0;
}

let tablePending = false;

async function update() {
  if (!converter) return;
  const text = $('input').value;
  const req = request(text);
  const change = ++updates;
  const long = text.length > LONG_INPUT;
  if (long) $('output').setAttribute('aria-busy', 'true');
  if (long) offThread ??= new OffThread(converter);
  const result = long ? await offThread.latest('convert', req, text) : converter.convert(req, text);
  if (!result || change !== updates) return;  // a later change is being converted
  $('output').removeAttribute('aria-busy');
  const { text: output, report } = result;
  view.show(output);
  showReport(report);
  $('detected').textContent =
    chosen('direction') === 'auto' && text ? t('detected', t(req.direction === CHAR_TO_CODE ? 'charToCode' : 'codeToChar')) : '';
  $('suggest').hidden = req.book === TAIWAN || !converter.looksTraditional(text);
  document.body.dataset.direction = String(req.direction);
  side = req.direction === CHAR_TO_CODE ? text : output;
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

function copyButton(code) {
  const b = document.createElement('button');
  b.type = 'button';
  b.className = 'copy-code';
  b.textContent = code;
  b.dataset.copy = code;
  b.setAttribute('aria-label', t('copyCode', code));
  return b;
}

function codeCell(entry) {
  const td = document.createElement('td');
  if (entry.code) td.append(copyButton(entry.code));
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
    th.textContent = row.ch;
    th.title = unicodeName(row.ch);
    tr.append(th, codeCell(row.mainland));
    if (converter.features.taiwan) tr.append(codeCell(row.taiwan));
    body.append(tr);
  }
  $('chars').tBodies[0].replaceWith(body);
  $('chars-empty').hidden = total > 0;
  $('chars-more').hidden = total <= TABLE_ROWS;
  $('chars-more').textContent = t('charsMore', TABLE_ROWS, total);
}

function say(message) {
  $('status').textContent = message;
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
  const books = converter.features.taiwan ? ['mainland', 'taiwan'] : ['mainland'];
  const title = { mainland: t('colMainland'), taiwan: t('colTaiwan') };
  const header = [t('colChar'), t('colUnicode'), ...books.flatMap((b) => [title[b], `${title[b]} ${t('colNote')}`])];
  const body = converter.characters(side).rows.map((row) => [
    row.ch, unicodeName(row.ch), ...books.flatMap((b) => [{ code: row[b].code }, note(row[b])]),
  ]);
  return buildCsv(header, body);
}

function wire(book) {
  $('input').addEventListener('input', update);
  for (const el of document.querySelectorAll('input[name="direction"], input[name="book"], #typed-rule, #variants')) {
    el.addEventListener('change', update);
  }
  $('use-taiwan').addEventListener('click', () => {
    document.querySelector('input[name="book"][value="1"]').checked = true;
    update();
    $('input').focus();
  });
  $('clear').addEventListener('click', () => {
    $('input').value = '';
    update();
    $('input').focus();
  });
  $('copy').addEventListener('click', () => copy($('output').value));
  $('read-as-written').addEventListener('click', () => {
    $('typed-rule').checked = false;
    update();
    $('typed-rule').focus();
  });
  $('chars').addEventListener('click', (e) => {
    const code = e.target.closest('button[data-copy]')?.dataset.copy;
    if (code) copy(code);
  });
  $('download-text').addEventListener('click', () => download('yishu.txt', $('output').value, 'text/plain'));
  $('download-csv').addEventListener('click', () =>
    download('yishu.csv', csv(), 'text/csv'));
  $('language').addEventListener('click', () => {
    setLanguage(language() === 'zh' ? 'en' : 'zh');
    try { localStorage.setItem('yishu-language', language()); } catch { /* private mode */ }
    update();
    book.render();
  });
}

function disableMissing(features) {
  const taiwan = document.querySelector('input[name="book"][value="1"]');
  taiwan.disabled = !features.taiwan;
  $('taiwan-missing').hidden = features.taiwan;
  document.querySelector('#book-choice option[value="1"]').disabled = !features.taiwan;
  $('variants').disabled = !features.variants;
  $('variants-missing').hidden = features.variants;
  // Without the reading of codes as written, the typing rule is the only one.
  if (!features.asWritten) $('typed-rule').checked = true;
  $('typed-rule').disabled = !features.asWritten;
  $('as-written-missing').hidden = features.asWritten;
  document.querySelector('#chars .taiwan-col').hidden = !features.taiwan;
  document.body.dataset.features = Object.keys(features).filter((k) => features[k]).join(' ');
}

async function start() {
  let saved = null;
  try { saved = localStorage.getItem('yishu-language'); } catch { /* private mode */ }
  setLanguage(saved ?? 'zh');
  view = new ResultView($('output'));
  const loaded = showLoading($('output'));
  try {
    converter = await loadConverter();
  } catch (e) {
    say(t('loadFailed', e.message));
    return;
  }
  loaded();
  disableMissing(converter.features);
  $('version').textContent = `yishu ${converter.core.version()}`;
  const book = new BookBrowser(converter, copy);
  wire(book);
  book.render();
  update();
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
