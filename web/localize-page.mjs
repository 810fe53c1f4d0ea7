// Writes the staged index.html with two small scripts that put the interface
// in the visitor's language before the page is first drawn: the saved
// choice, else the browser's languages. The page's modules would otherwise
// switch it once they have loaded, and everything would move. The scripts
// carry the texts of the page's own elements in every language but the one
// the page is written in; the page's security policy names them by hash.
//   node localize-page.mjs STAGED_SITE_DIR
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const site = process.argv[2];
const page = join(site, 'index.html');
const { TEXTS, LANGUAGE_KEY, chosenLanguage, languageFor } = await import(pathToFileURL(join(site, 'i18n.js')));

let html = readFileSync(page, 'utf8');
const written = /<html lang="([^"]+)"/.exec(html)[1];
const keys = new Set(['title']);
for (const [, key] of html.matchAll(/data-i18n(?:-placeholder|-label)?="([^"]+)"/g)) keys.add(key);
const texts = {};
for (const [lang, all] of Object.entries(TEXTS)) {
  if (lang !== written) texts[lang] = Object.fromEntries([...keys].filter((k) => k in all).map((k) => [k, all[k]]));
}

// In the head: the language, on the root element; the page stays unseen
// while its texts are in another (style.css), so that a browser drawing the
// first part of the page early shows nothing that changes.
const choose = `(() => {
const languageFor = ${languageFor};
const chosenLanguage = ${chosenLanguage};
let saved = null;
try { saved = localStorage.getItem(${JSON.stringify(LANGUAGE_KEY)}); } catch { /* private mode */ }
const root = document.documentElement;
root.lang = chosenLanguage(saved, navigator.languages?.length ? navigator.languages : [navigator.language ?? '']);
if (root.lang !== ${JSON.stringify(written)}) root.dataset.localizing = '';
})();`;

// At the end of the body: the texts.
const write = `(() => {
const root = document.documentElement;
const t = ${JSON.stringify(texts).replaceAll('<', '\\u003c')}[root.lang];
document.getElementById('language').value = root.lang;
if (!t) return;
document.title = t.title;
for (const el of document.querySelectorAll('[data-i18n]')) el.textContent = t[el.dataset.i18n] ?? el.textContent;
for (const el of document.querySelectorAll('[data-i18n-placeholder]')) el.placeholder = t[el.dataset.i18nPlaceholder] ?? el.placeholder;
for (const el of document.querySelectorAll('[data-i18n-label]')) el.setAttribute('aria-label', t[el.dataset.i18nLabel] ?? '');
delete root.dataset.localizing;
})();`;

const hash = (script) => `'sha256-${createHash('sha256').update(script).digest('base64')}'`;
const policy = html.replace(/script-src 'self'/, `script-src 'self' ${hash(choose)} ${hash(write)}`);
if (policy === html || !html.includes('</body>')) throw new Error(`${page}: no script-src 'self' or no </body> to localize`);
html = policy
  .replace('<link rel="stylesheet"', `<script>${choose}</script>\n<link rel="stylesheet"`)
  .replace('</body>', `<script>${write}</script>\n</body>`);
writeFileSync(page, html);
