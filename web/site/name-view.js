// The name view: a name's surname and given names as two results, each with
// its own copy button, and how long each is for a form's field, in a book the
// view names and the user may change.
import { CHAR_TO_CODE } from './convert.js';
import { scriptOfBook, t } from './i18n.js';
import { FIELD_LIMIT, splitName } from './name.js';
import { bookName, reportNodes } from './parts.js';

const $ = (id) => document.getElementById(id);

// converter: the core; bookFor(text, choice): the book for a text and why,
// given the choice of the view's own book control ('auto' or a book);
// variants(): whether variants are looked through; copy(text).
export function nameView({ converter, bookFor, variants, copy }) {
  let shownChars = null;  // the name the split choices were made for

  // The choices of where the surname ends, kept while the name stays the same.
  function offerSplits(chars, split) {
    const select = $('name-split');
    if (shownChars === chars.join('')) return;
    shownChars = chars.join('');
    const options = [];
    for (let k = 1; k < Math.max(chars.length, 2); ++k) {
      const o = document.createElement('option');
      o.value = String(k);
      o.textContent = `${chars.slice(0, k).join('')}｜${chars.slice(k).join('')}`;
      options.push(o);
    }
    select.replaceChildren(...options);
    select.value = String(Math.max(split, 1));
    select.disabled = chars.length < 2;
  }

  function update() {
    const { chars, split } = splitName($('name-input').value);
    offerSplits(chars, split);
    const k = chars.length < 2 ? chars.length : Number($('name-split').value);
    const { book, why } = bookFor(chars.join(''), $('name-book-choice').value);
    $('name-split').lang = scriptOfBook(book);
    $('name-book').textContent = t('bookUsed', bookName(book)) + (why ? t(why) : '');
    const uncoded = new Set();
    let uncodedCount = 0;
    for (const [part, text] of [['surname', chars.slice(0, k).join('')], ['given', chars.slice(k).join('')]]) {
      const result = converter.convert({ direction: CHAR_TO_CODE, book, variants: variants(), asWritten: true }, text);
      const length = result.text.length;
      $(`${part}-codes`).textContent = result.text;
      $(`${part}-length`).textContent = !length ? '' : t(length > FIELD_LIMIT ? 'tooLong' : 'fieldLength', length);
      $(`${part}-length`).classList.toggle('warning', length > FIELD_LIMIT);
      $(`copy-${part}`).disabled = !length;
      for (const ch of result.uncoded) uncoded.add(ch);
      uncodedCount += result.uncodedCount;
    }
    const report = reportNodes({ report: {}, uncoded: [...uncoded], uncodedCount }, book);
    $('name-report').replaceChildren(...report.flatMap((n, i) => (i ? [' ', n] : [n])));
    $('name-report').hidden = report.length === 0;
  }

  $('name-input').addEventListener('input', update);
  $('name-split').addEventListener('change', update);
  $('name-book-choice').addEventListener('change', update);
  $('copy-surname').addEventListener('click', () => copy($('surname-codes').textContent));
  $('copy-given').addEventListener('click', () => copy($('given-codes').textContent));
  return {
    update,
    // After a change of language: the split choices are written again.
    refresh() {
      shownChars = null;
      update();
    },
  };
}
