// Writes into the staged index.html a modulepreload link for every module
// that the page's module script imports, directly or not, so that the
// browser asks for all of them at once rather than one level of imports
// after another (each level costs a round trip on a slow link).
//   node preload-modules.mjs STAGED_SITE_DIR
import { readFileSync, writeFileSync } from 'node:fs';
import { join, normalize } from 'node:path';

const site = process.argv[2];
const page = join(site, 'index.html');
let html = readFileSync(page, 'utf8');
const entry = /<script type="module" src="([^"]+)"><\/script>/.exec(html);
if (!entry) throw new Error(`${page}: no module script to preload the imports of`);

const found = new Set();
const visit = (file) => {
  for (const [, imported] of readFileSync(join(site, file), 'utf8').matchAll(/^import\s[^'"]*?['"](\.\/[^'"]+)['"]/gm)) {
    const path = normalize(join(file, '..', imported));
    if (!found.has(path)) {
      found.add(path);
      visit(path);
    }
  }
};
visit(entry[1]);
const links = [...found]
  .filter((f) => !html.includes(`<link rel="modulepreload" href="${f}">`))
  .map((f) => `<link rel="modulepreload" href="${f}">\n`)
  .join('');
html = html.replace(entry[0], `${entry[0]}\n${links.trimEnd()}`);
writeFileSync(page, html);
