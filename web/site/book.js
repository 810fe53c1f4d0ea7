// Browsing and searching a code book: by code (digits, a prefix of one) or by
// character (every character of the query).
import { scriptOfBook, t } from './i18n.js';

const PAGE = 120;

export class BookBrowser {
  constructor(converter, copy) {
    this.converter = converter;
    this.start = 0;
    this.$ = (id) => document.getElementById(id);
    this.$('book-choice').addEventListener('change', () => this.reset());
    this.$('book-search').addEventListener('input', () => this.reset());
    this.$('book-prev').addEventListener('click', () => this.page(-PAGE));
    this.$('book-next').addEventListener('click', () => this.page(PAGE));
    this.$('book-list').addEventListener('click', (e) => {
      const value = e.target.closest('button[data-copy]')?.dataset.copy;
      if (value) copy(value);
    });
  }

  matches() {
    const rows = this.converter.book(Number(this.$('book-choice').value));
    // Digits as the core reads them (full-width ones too, as an input method
    // types them); spaces do not count.
    const query = this.$('book-search').value.replace(/[\s\u3000]/g, '');
    if (!query) return rows;
    const [digits] = this.converter.codesIn(query);
    if (digits && digits.length <= 4 && [...query].every((ch) => this.converter.isDigit(ch))) {
      return rows.filter((r) => r.code.startsWith(digits));
    }
    const wanted = new Set(query);
    return rows.filter((r) => wanted.has(r.ch));
  }

  reset() {
    this.start = 0;
    this.render();
  }

  page(delta) {
    this.start = Math.max(0, this.start + delta);
    this.render();
  }

  render() {
    const book = Number(this.$('book-choice').value);
    const found = this.matches();
    if (this.start >= found.length) this.start = Math.max(0, found.length - PAGE);
    const shown = found.slice(this.start, this.start + PAGE);
    // Each entry is one button: the code and its character; a click copies
    // the code. Its name is what it shows, and what it does.
    const items = shown.map((row) => {
      const li = document.createElement('li');
      const b = document.createElement('button');
      b.type = 'button';
      b.dataset.copy = row.code;
      const code = document.createElement('span');
      code.className = 'book-code';
      code.textContent = row.code;
      const ch = document.createElement('span');
      ch.className = 'book-char';
      ch.textContent = row.ch;
      ch.lang = scriptOfBook(book);
      const hint = document.createElement('span');
      hint.className = 'visually-hidden';
      hint.textContent = ' ' + t('copyHint');
      b.append(code, ' ', ch, hint);
      li.append(b);
      return li;
    });
    this.$('book-list').replaceChildren(...items);
    this.$('book-count').textContent = found.length
      ? t('bookCount', found.length, this.start + 1, this.start + shown.length)
      : t('bookNone');
    this.$('book-prev').disabled = this.start === 0;
    this.$('book-next').disabled = this.start + PAGE >= found.length;
  }
}
