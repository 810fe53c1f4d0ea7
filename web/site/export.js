// Downloads: the result as text, and the per-character table as CSV.

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
