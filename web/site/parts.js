// Pieces that every view of the page shows the same way: the names of the
// books, Chinese text marked with its language, the notes on a character's
// code, the report under a result, the columns of the books.
import { ECCC, MAINLAND, TAIWAN } from './convert.js';
import { scriptOfBook, t } from './i18n.js';

const BOOK_NAMES = { [TAIWAN]: 'taiwan', [ECCC]: 'eccc', [MAINLAND]: 'mainland' };
export const bookName = (book) => t(BOOK_NAMES[book]);
const DOUBTFUL_SHOWN = 10;

// Chinese text inside the interface's text, marked with its language.
export function chinese(text, book) {
  const span = document.createElement('span');
  span.lang = scriptOfBook(book);
  span.textContent = text;
  return span;
}

export function note(entry) {
  if (entry.ambiguous) return entry.choices ? t('ambiguousChoices', entry.choices) : t('ambiguous');
  if (!entry.code) return t('noCode');
  return entry.via ? t('through', entry.via) : '';
}

// What the user may want to know about a result: codes left unconverted and
// why, codes worth checking, characters found through a variant, and every
// character left without a code, counted and listed.
export function reportNodes(result, book) {
  const { report } = result;
  const nodes = [];
  if (report.codesWithoutSpace) nodes.push(t('codesWithoutSpace', report.codesWithoutSpace));
  if (report.keptRuns) nodes.push(t('keptRuns', report.keptRuns));
  // Four digits beside a letter, a currency sign or 年 may be a price or a
  // year read as a code: the first few are shown, as written, to check.
  if (report.doubtfulRuns) {
    const shown = result.doubtful.slice(0, DOUBTFUL_SHOWN).join(t('listSeparator'));
    nodes.push(t('doubtfulRuns', report.doubtfulRuns, shown + (report.doubtfulRuns > DOUBTFUL_SHOWN ? '…' : '')));
  }
  if (report.throughVariant) nodes.push(t('throughVariant', report.throughVariant));
  if (report.oldForms) nodes.push(t(result.standardForms ? 'oldFormsChanged' : 'oldFormsKept', report.oldForms));
  if (report.otherScript) nodes.push(t('otherScript', report.otherScript));
  // The characters come last, in a span of their own language.
  if (result.uncodedCount) nodes.push(t('uncoded', result.uncodedCount), chinese(result.uncoded.join('、'), book));
  return nodes;
}

// The column titles of the books, the book in use marked.
export function markBooks(table, active) {
  for (const th of table.querySelectorAll('thead th[data-book]')) {
    const book = Number(th.dataset.book);
    th.textContent = bookName(book) + (book === active ? t('inUse') : '');
    th.classList.toggle('active', book === active);
  }
}
