// How fast the page answers with a long text: a keystroke at the end of
// 100,000 characters, a paste of 100,000 characters, and the first load on a
// slow 4G link until the converter is ready. The times are printed, never
// asserted; what is asserted is that the right result is shown.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { choose, openForTests, SITE } from './browser.mjs';
import { serve } from './server.mjs';
import { coreConvert, longText } from './oracle.mjs';

const LENGTH = 100_000;

const opened = openForTests();  // browser, page, site

// The commoner characters, as an archive has them and as the native benchmark takes them.
const sample = (direction) => longText(direction, { length: LENGTH, from: 2000 });

// Runs `act` in the page and resolves with the milliseconds until the text
// of the element `shown` ends with `ending` and the frame with it has been drawn.
async function timeUntilShown(tab, act, ending, shown = 'output') {
  await tab.evaluate(([end, id]) => {
    window.yishuTimed = new Promise((resolve) => {
      const result = () => document.getElementById(id).value;
      let start = null;
      const mark = () => { start ??= performance.now(); };
      document.addEventListener('keydown', mark, { capture: true, once: true });
      document.addEventListener('beforeinput', mark, { capture: true, once: true });
      window.yishuMark = mark;
      const poll = () => {
        if (start !== null && result().endsWith(end)) {
          // This frame draws the result; the first task after it ends the
          // time (this check runs before any frame callback the page asked
          // for meanwhile, so its task comes first too).
          setTimeout(() => resolve(performance.now() - start));
        } else {
          requestAnimationFrame(poll);
        }
      };
      poll();
    });
  }, [ending, shown]);
  await act();
  return tab.evaluate(() => window.yishuTimed);
}

const settled = (tab) => tab.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 50))));

// A paste of `text` into #input, then `typed` at its end and the timed `key`.
async function pasteAndType(tab, text, typed, key, ending, shown) {
  await tab.fill('#input', '');
  await settled(tab);
  const pasted = await timeUntilShown(tab,
    () => tab.evaluate((value) => {
      window.yishuMark();
      const el = document.getElementById('input');
      el.focus();
      el.value = value;
      el.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertFromPaste' }));
    }, text),
    shown === 'input' ? text.slice(-20) : '\n', shown);
  await settled(tab);
  await tab.focus('#input');
  await tab.keyboard.press('Control+End');
  await tab.keyboard.type(typed);
  await settled(tab);
  const keystroke = await timeUntilShown(tab, () => tab.keyboard.type(key), shown === 'input' ? key : ending, shown);
  return `pasted and shown in ${pasted.toFixed(0)} ms; one more keystroke shown in ${keystroke.toFixed(0)} ms`;
}

// For comparison: the browser alone, a bare text box with the page's style.
async function bareTextBox() {
  const tab = await opened.page.context().newPage();
  await tab.setContent(`<link rel="stylesheet" href="${opened.site.url}style.css"><textarea id="input"></textarea>`);
  await tab.waitForFunction(() => document.styleSheets.length === 1);
  return tab;
}

// The last key completes a character or a code: 中 typed, or the space after 2429.
for (const [direction, name, typed, key, ending] of [[1, 'characters', '', '中', '0022'], [0, 'codes', '2429', ' ', '文']]) {
  test(`${LENGTH.toLocaleString('en')} ${name}: a paste and a keystroke`, async () => {
    await choose(opened.page, { direction, book: 0, variants: true, asWritten: true });
    const text = sample(direction);
    const figures = await pasteAndType(opened.page, text, typed, key, ending, 'output');
    const expected = coreConvert({ direction, book: 0, variants: true, asWritten: true }, text + typed + key);
    assert.equal((await opened.page.inputValue('#output')).replaceAll(' \n', '\n'), expected.replaceAll(' \n', '\n').trimEnd());
    const bare = await bareTextBox();
    const alone = await pasteAndType(bare, text, typed, key, ending, 'input');
    await bare.close();
    console.log(`# ${LENGTH} ${name}: ${figures}`);
    console.log(`#   (a bare text box, for comparison: ${alone})`);
  });
}

// Chrome's "Slow 4G": 562.5 ms of latency, 1.44 Mbit/s down, 675 kbit/s up;
// from this test's server as it is and, as static hosts send files, gzipped.
for (const compress of [false, true]) {
  test(`first load on a slow 4G link, until the converter is ready${compress ? ', files gzipped' : ''}`, async () => {
    const server = await serve(SITE, { compress });
    const context = await opened.browser.newContext();
    const tab = await context.newPage();
    const cdp = await context.newCDPSession(tab);
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    await cdp.send('Network.emulateNetworkConditions', {
      offline: false, latency: 562.5, downloadThroughput: (1.6e6 * 0.9) / 8, uploadThroughput: (750e3 * 0.9) / 8,
    });
    const start = Date.now();
    await tab.goto(server.url, { waitUntil: 'commit' });
    await tab.waitForSelector('body[data-ready="true"]', { timeout: 60_000 });
    const ready = Date.now() - start;
    const paint = await tab.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN);
    console.log(`# slow 4G first load${compress ? ', gzipped' : ''}: first contentful paint at ${paint.toFixed(0)} ms, ` +
      `converter ready at ${ready} ms`);
    await tab.fill('#input', '中文');
    assert.equal(await tab.inputValue('#output'), '0022 2429');
    await context.close();
    await server.close();
  });
}

// The long-result view keeps the lines it drew before a change and lays out
// the rest: it must draw what a layout from scratch draws, and its last line
// must be the text's end.
test('the long-result view after edits anywhere in the text', async () => {
  const { lines, bottom, atEnd } = await opened.page.evaluate(async () => {
    const { ResultView } = await import('./result-view.js');
    const area = document.createElement('textarea');
    document.querySelector('main').append(area);
    const view = new ResultView(area);
    const parts = [];
    for (let i = 0; i < 30_000; i++) parts.push(`${1000 + (i % 9000)}${i % 37 === 36 ? '\n' : i % 11 ? ' ' : '中文 '}`);
    let text = parts.join('');
    const edits = [(t) => `${t}0022`, (t) => `${t}\n`, (t) => t.slice(0, -3), (t) => `${t.slice(0, 5000)}中${t.slice(5000)}`,
      (t) => t.slice(0, 70_000), (t) => `\n${t}`, (t) => t.slice(1), (t) => t.replaceAll('\n', ' ')];
    view.show(text);
    const lines = [];
    for (const edit of edits) {
      text = edit(text);
      view.show(text);
      const kept = view.starts.join();
      view.layOut(0);
      lines.push([kept === view.starts.join(), view.starts.length]);
    }
    view.view.scrollTop = view.view.scrollHeight;
    await new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
    const bottom = view.lines.textContent.split('\n').pop();
    return { lines, bottom, atEnd: bottom.length > 0 && text.endsWith(bottom) };
  });
  for (const [same, count] of lines) assert.ok(same && count > 1, `${count} lines`);
  assert.ok(atEnd, `the last line drawn, ${bottom}, ends the text`);
});

// The worker converts long texts a line at a time, keeping the lines of the
// text before: that must give what converting the whole text gives.
test('a long text converted line by line, after edits, is the whole text converted', async () => {
  const texts = [sample(1), sample(0), `${sample(1)}${sample(0)}`.replaceAll('\n', '\n\n'), '陳大文 2429 ' + sample(1)];
  const differences = await opened.page.evaluate(async (texts) => {
    const { loadConverter } = await import('./convert.js');
    const { LineConverter } = await import('./by-lines.js');
    const converter = await loadConverter();
    const byLines = new LineConverter(converter);
    const found = [];
    for (const direction of [0, 1]) {
      for (const book of [0, 1]) {
        for (const asWritten of [false, true]) {
          const request = { direction, book, variants: true, asWritten };
          for (const text of texts.flatMap((t) => [t, `${t}中`, `${t.slice(0, 500)}0022 ${t.slice(500)}`, t.slice(3)])) {
            const whole = JSON.stringify(converter.convert(request, text));
            if (JSON.stringify(byLines.convert(request, text)) !== whole) found.push(JSON.stringify(request) + text.slice(0, 20));
          }
        }
      }
    }
    return found;
  }, texts);
  assert.deepEqual(differences, []);
});
