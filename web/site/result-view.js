// The result box. A short result goes into the text area as it is; a long one
// (a pasted archive gives half a million characters of codes) would take the
// browser seconds to lay out there, so it is shown in a view that draws only
// the lines on screen. The text area keeps the whole result either way: copy
// and download read it, and, hidden, it costs no layout.
const LONG = 20_000;  // characters; below this the text area is fast enough
const OVERSCAN = 20;  // lines drawn above and below the visible ones

// Characters drawn about twice as wide as a digit: CJK, full-width forms.
const isWide = (u) => u >= 0x1100 && !(u >= 0xd800 && u <= 0xdfff) && !(u >= 0xff61 && u <= 0xffdc);

// How many characters two texts share at their start.
function sharedStart(a, b) {
  const n = Math.min(a.length, b.length);
  let i = 0;
  for (const step = 4096; i + step <= n && a.slice(i, i + step) === b.slice(i, i + step);) i += step;
  while (i < n && a.charCodeAt(i) === b.charCodeAt(i)) ++i;
  return i;
}

export class ResultView {
  constructor(area) {
    this.area = area;
    this.text = '';
    this.starts = [0];  // where each drawn line begins in the text
    this.width = 0;
    this.metrics = null;  // the font's widths and the room on a line, while the width stays
    this.view = document.createElement('div');
    this.view.className = 'result-view';
    this.view.tabIndex = 0;
    this.view.setAttribute('role', 'textbox');
    this.view.setAttribute('aria-readonly', 'true');
    this.view.setAttribute('aria-multiline', 'true');
    this.view.hidden = true;
    this.spacer = document.createElement('div');
    this.lines = document.createElement('div');
    this.lines.className = 'result-lines';
    this.view.append(this.spacer);
    this.spacer.append(this.lines);
    area.after(this.view);
    let drawing = false;
    this.view.addEventListener('scroll', () => {
      if (drawing) return;
      drawing = true;
      requestAnimationFrame(() => {
        drawing = false;
        this.draw();
      });
    }, { passive: true });
    new ResizeObserver(() => {
      if (!this.view.hidden && this.view.clientWidth !== this.width) {
        this.metrics = null;
        this.layOut(0);
      }
    }).observe(this.view);
  }

  get long() { return !this.view.hidden; }

  show(text) {
    // A keystroke changes the end of a long text, mostly: the lines before
    // the change stay as they were drawn.
    const same = this.long ? sharedStart(this.text, text) : 0;
    this.text = text;
    const long = text.length > LONG;
    if (long && !this.long) {
      // The view takes the text area's place at the text area's size, read
      // while it still holds a short text.
      const height = this.area.offsetHeight;
      if (height) this.view.style.height = `${height}px`;
      this.view.setAttribute('aria-label', document.querySelector(`label[for="${this.area.id}"]`)?.textContent ?? '');
    }
    this.view.hidden = !long;
    this.area.hidden = long;
    this.area.value = text;  // hidden when long, so never laid out
    if (long) this.layOut(same);
  }

  // The drawn lines: each line of the text, broken where it would overflow
  // the view (after a space when there is one), as the text area would.
  // Those that begin before the line with character `same` are kept.
  layOut(same) {
    this.metrics ??= this.measure();
    const { narrow, wide, line, room } = this.metrics;
    this.lineHeight = line;
    const text = this.text;
    const from = same > 0 ? text.lastIndexOf('\n', same - 1) + 1 : 0;  // where that line begins
    let kept = 1;
    for (let lo = 0, hi = this.starts.length; lo < hi;) {  // the drawn lines before `from`
      const mid = (lo + hi) >> 1;
      if (this.starts[mid] < from) lo = kept = mid + 1;
      else hi = mid;
    }
    const starts = this.starts;
    starts.length = Math.max(1, kept);
    if (from > 0) starts.push(from);
    let x = 0, space = -1;
    for (let i = from; i < text.length; i++) {
      const u = text.charCodeAt(i);
      if (u === 10) {
        starts.push(i + 1);
        x = 0;
        space = -1;
        continue;
      }
      if (u >= 0xdc00 && u <= 0xdfff) continue;  // the second half of a character
      const w = isWide(u) ? wide : narrow;
      if (x + w > room && i > starts[starts.length - 1]) {
        const at = space > starts[starts.length - 1] ? space + 1 : i;
        starts.push(at);
        x = 0;
        for (let k = at; k < i; k++) x += isWide(text.charCodeAt(k)) ? wide : narrow;
        space = -1;
      }
      if (u === 32) space = i;
      x += w;
    }
    this.starts = starts;
    this.spacer.style.height = `${starts.length * line}px`;
    this.draw();
  }

  // The widths of a digit and of a Chinese character, the line height, in
  // the view's font, and the room on a line.
  measure() {
    const style = getComputedStyle(this.view);
    this.width = this.view.clientWidth;
    const room = this.width - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight) - 2;
    const probe = document.createElement('span');
    this.lines.append(probe);
    probe.textContent = '0'.repeat(50);
    const narrow = probe.getBoundingClientRect().width / 50;
    probe.textContent = '中'.repeat(50);
    const wide = probe.getBoundingClientRect().width / 50;
    probe.remove();
    const line = parseFloat(getComputedStyle(this.lines).lineHeight) || narrow * 3;
    return { narrow, wide, line, room };
  }

  draw() {
    const { starts, text, lineHeight } = this;
    const first = Math.max(0, Math.floor(this.view.scrollTop / lineHeight) - OVERSCAN);
    const last = Math.min(starts.length, first + Math.ceil(this.view.clientHeight / lineHeight) + 2 * OVERSCAN);
    const shown = [];
    for (let i = first; i < last; i++) {
      const end = i + 1 < starts.length ? starts[i + 1] : text.length;
      shown.push(text.slice(starts[i], text.charCodeAt(end - 1) === 10 ? end - 1 : end));
    }
    this.lines.textContent = shown.join('\n');
    this.lines.style.transform = `translateY(${first * lineHeight}px)`;
  }
}
