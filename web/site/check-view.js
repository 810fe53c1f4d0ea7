// The check view: each character of a name against the code given for it, in
// every book, saying what is wrong ("0023 is 丰; 中 is 0022").
import { BOOKS } from './convert.js';
import { t } from './i18n.js';
import { checkCodes } from './check.js';
import { markBooks } from './parts.js';

const $ = (id) => document.getElementById(id);

export function checkView({ converter }) {
  function note(row, book) {
    const r = row.books[book];
    const entry = row.ch ? converter.lookup(row.ch)[book] : null;
    if (r.ok) return entry.via && r.code === entry.code ? t('checkOkThrough', entry.via) : t('checkOk');
    if (!row.ch) return t('checkExtra');
    if (!row.code) return t('checkMissing');
    if (!/^\d{4}$/.test(row.code)) return t('checkNotCode', row.code);
    const expected = entry.ambiguous ? t('ambiguousChoices', entry.choices) : r.expected;
    const stands = r.stands ? t('checkStands', row.code, r.stands) : t('checkNoChar', row.code);
    return stands + t('separator') + (expected ? t('checkIs', row.ch, expected) : t('checkNoCode', row.ch));
  }

  function update() {
    const rows = checkCodes(converter, $('check-name').value, $('check-codes').value);
    const body = document.createElement('tbody');
    for (const row of rows) {
      const tr = document.createElement('tr');
      const th = document.createElement('th');
      th.scope = 'row';
      th.lang = 'zh';
      th.textContent = row.ch || '—';
      // On a phone the code given stands under its character, which leaves
      // the room of its column to the books.
      const given = document.createElement('span');
      given.className = 'given';
      given.textContent = row.code || '—';
      th.append(given);
      const code = document.createElement('td');
      code.textContent = row.code || '—';
      tr.append(th, code);
      for (const book of BOOKS) {
        const td = document.createElement('td');
        td.className = row.books[book].ok ? 'ok' : 'wrong';
        td.dataset.book = String(book);
        td.textContent = (row.books[book].ok ? '✓ ' : '✗ ') + note(row, book);
        tr.append(td);
      }
      body.append(tr);
    }
    $('check-table').tBodies[0].replaceWith(body);
    markBooks($('check-table'), -1);
    $('check-table').hidden = rows.length === 0;
    $('check-empty').hidden = rows.length > 0;
  }

  $('check-name').addEventListener('input', update);
  $('check-codes').addEventListener('input', update);
  return { update };
}
