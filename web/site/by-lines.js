// A long text converted in blocks of lines, keeping each block's result until
// the next text: a keystroke converts its own block again, not the whole
// text. A line break ends every code and run of digits, so the blocks'
// results joined are the whole text's (the speed test checks it on long
// texts). A block ends after a line that its own content picks (about one in
// 32), so that an edit changes its own block only and the others stay.
const ONE_IN = 32;
const MOST = 8192;  // characters: a block ends at the next line break after these
const MOST_LISTED = 1000;  // doubtful runs listed, as the core lists them

function blockEnd(text, start) {
  for (let line = start; ;) {
    const stop = text.indexOf('\n', line);
    if (stop < 0) return text.length;
    const pick = (stop - line) * 7 + text.charCodeAt(line) + text.charCodeAt(Math.max(line, stop - 1));
    if (pick % ONE_IN === 0 || stop + 1 - start >= MOST) return stop + 1;
    line = stop + 1;
  }
}

export class LineConverter {
  constructor(converter) {
    this.converter = converter;
    this.request = '';
    this.lines = new Map();  // each block of the last text, with its last break, and its result
  }

  convert(request, text) {
    const key = JSON.stringify(request);
    const before = key === this.request ? this.lines : new Map();
    const lines = new Map();
    const texts = [];
    const report = {};
    const doubtful = [];
    const uncoded = new Set();
    let uncodedCount = 0;
    for (let start = 0; start < text.length;) {
      const end = blockEnd(text, start);
      const line = text.slice(start, end);
      const result = lines.get(line) ?? before.get(line) ?? this.converter.convert(request, line);
      lines.set(line, result);
      texts.push(result.text);
      for (const [name, count] of Object.entries(result.report)) {
        if (typeof count === 'number') report[name] = (report[name] ?? 0) + count;
      }
      doubtful.push(...result.doubtful.slice(0, MOST_LISTED - doubtful.length));
      for (const ch of result.uncoded) uncoded.add(ch);
      uncodedCount += result.uncodedCount;
      start = end;
    }
    this.request = key;
    this.lines = lines;
    return { text: texts.join(''), report, doubtful, uncoded: [...uncoded], uncodedCount };
  }
}
