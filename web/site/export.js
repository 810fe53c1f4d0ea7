// Downloads: the result as text, and the per-character table as CSV.
import { t } from './i18n.js';

// A spreadsheet reads 0022 as the number 22; as the formula ="0022" it keeps
// the text, leading zeros and all.
const codeCell = (code) => (code ? `="${code}"` : '');

function cell(s) {
  return /[",\r\n]/.test(s) ? `"${s.replaceAll('"', '""')}"` : s;
}

export const unicodeName = (ch) => 'U+' + ch.codePointAt(0).toString(16).toUpperCase().padStart(4, '0');

// header: the column titles; rows: arrays of cells, each a string or, for a
// code, {code}.
export function buildCsv(header, rows) {
  const line = (cells) => cells.map((c) => cell(typeof c === 'string' ? c : codeCell(c.code))).join(',');
  // The byte-order mark tells spreadsheets that the file is UTF-8.
  return '\ufeff' + [header, ...rows].map(line).join('\r\n') + '\r\n';
}

// The text download: the result and, after a blank line, as under the result
// on the page, the characters left without a code, counted and listed.
export function resultText({ text, uncoded, uncodedCount }) {
  if (!uncodedCount) return text;
  return `${text}${text.endsWith('\n') ? '' : '\n'}\n${t('uncoded', uncodedCount)} ${uncoded.join('、')}\n`;
}

export function download(name, text, type) {
  const url = URL.createObjectURL(new Blob([text], { type: `${type};charset=utf-8` }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
}
