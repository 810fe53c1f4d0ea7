// A long paste converts in one go, as the core converts it. The time is a
// figure to read, not a limit: speed is measured, never asserted.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { choose, openForTests, paste } from './browser.mjs';
import { coreConvert, longText } from './oracle.mjs';

const LENGTH = 100_000;

const opened = openForTests();  // browser, page, site

// The whole book, rare characters too.
const sample = (direction) => longText(direction, { length: LENGTH, seed: 1 });

for (const [direction, name] of [[1, 'characters'], [0, 'codes']]) {
  test(`pasting ${LENGTH.toLocaleString('en')} ${name}`, async () => {
    // The typing rule, as telecode reads codes by default.
    await choose(opened.page, { direction, book: 0, asWritten: false });
    await opened.page.fill('#input', '');
    const text = sample(direction);
    const ms = await opened.page.evaluate(async (value) => {
      const el = document.getElementById('input');
      const drawn = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
      // For comparison: the browser only drawing the pasted text (setting the
      // value raises no input event, so nothing converts).
      let start = performance.now();
      el.value = value;
      await drawn();
      const textOnly = performance.now() - start;
      el.value = '';
      await drawn();
      start = performance.now();
      el.value = value;
      el.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertFromPaste' }));
      const converted = performance.now() - start;
      await drawn();  // the result, and the table on the frame after
      await drawn();
      return { textOnly, converted, shown: performance.now() - start };
    }, text);
    console.log(`# ${LENGTH} ${name} pasted: converted in ${ms.converted.toFixed(0)} ms, ` +
      `shown with the table in ${ms.shown.toFixed(0)} ms ` +
      `(the browser alone draws the pasted text in ${ms.textOnly.toFixed(0)} ms)`);
    const converted = () => opened.page.waitForSelector('#output:not([aria-busy])', { state: 'attached' });
    await converted();  // a long text converts in a worker
    const shown = await opened.page.inputValue('#output');
    const core = coreConvert({ direction, book: 0 }, text);
    assert.equal(shown.replaceAll(' \n', '\n').replace(/ $/, ''), core.replaceAll(' \n', '\n').replace(/ $/, ''));
    // The table lays out more rows as its end scrolls into view, up to 500.
    const rows = opened.page.locator('#chars tbody tr');
    const frames = () => opened.page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    for (let count = await rows.count(); count < 500; count = await rows.count()) {
      await rows.last().scrollIntoViewIfNeeded();
      await opened.page.waitForFunction((n) => document.querySelectorAll('#chars tbody tr').length > n, count);
    }
    await rows.last().scrollIntoViewIfNeeded();
    await frames();
    assert.equal(await rows.count(), 500);
    assert.match(await opened.page.textContent('#chars-more'), /500/);
    // Typing one more code into the long text converts it too.
    await opened.page.focus('#input');
    await opened.page.keyboard.press('Control+End');
    await paste(opened.page, '#input', direction ? '\n中' : '\n0022 ');
    await converted();
    assert.ok((await opened.page.inputValue('#output')).endsWith(direction ? '\n0022' : '\n中'));
  });
}
