// Lighthouse's performance audit of the staged page, on a phone (its
// simulated slow 4G and four times slower processor) and on a desktop, with
// Debian's Chromium. Prints the scores and the figures behind them; it checks
// nothing, as scores move with the machine's load.
//   node web/tests/lighthouse.mjs build/web/site [runs]
// Lighthouse is not among the tests' packages: one of its dependencies asks
// for the registry's "latest", which would break `npm ci` whenever that moves.
// Install it once with `npm install --no-save lighthouse@12.8.2` in web/.
import { execFile } from 'node:child_process';
import { mkdtemp, readFile, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { serve } from './server.mjs';

const site = process.argv[2] ?? process.env.YISHU_SITE;
const runs = Number(process.argv[3] ?? 1);
if (!site) throw new Error('usage: node lighthouse.mjs SITE_DIR [runs]');
const cli = join(dirname(fileURLToPath(import.meta.url)), '..', 'node_modules', 'lighthouse', 'cli', 'index.js');

try {
  await readFile(cli);
} catch {
  throw new Error('Lighthouse is not installed: run `npm install --no-save lighthouse@12.8.2` in web/');
}

const server = await serve(site);
const dir = await mkdtemp(join(tmpdir(), 'yishu-lighthouse-'));
try {
  for (const form of ['mobile', 'desktop']) {
    for (let run = 1; run <= runs; run++) {
      const out = join(dir, `${form}-${run}.json`);
      await promisify(execFile)(process.execPath, [
        cli, server.url, '--quiet', '--only-categories=performance,accessibility', '--output=json', `--output-path=${out}`,
        '--chrome-flags=--headless=new --no-sandbox --disable-gpu', ...(form === 'desktop' ? ['--preset=desktop'] : []),
      ], { env: { ...process.env, CHROME_PATH: process.env.CHROMIUM ?? '/usr/bin/chromium' }, maxBuffer: 1 << 26 });
      const { categories, audits } = JSON.parse(await readFile(out, 'utf8'));
      const ms = (id) => `${audits[id].numericValue.toFixed(0)} ms`;
      const lcp = audits['largest-contentful-paint-element']?.details?.items?.[0]?.items?.[0]?.node?.selector ?? '?';
      const shifts = (audits['layout-shifts']?.details?.items ?? [])
        .slice(0, 3).map((i) => `${i.score.toFixed(3)} ${i.node?.selector ?? '?'}`).join(', ');
      const tasks = (audits['long-tasks']?.details?.items ?? [])
        .slice(0, 3).map((t) => `${t.duration.toFixed(0)} ms ${t.url.split('/').pop() || t.url}`).join(', ');
      console.log(`# Lighthouse ${form} (run ${run}): performance ${Math.round(categories.performance.score * 100)}, ` +
        `accessibility ${Math.round(categories.accessibility.score * 100)}; total blocking time ${ms('total-blocking-time')}, ` +
        `first contentful paint ${ms('first-contentful-paint')}, largest ${ms('largest-contentful-paint')} (${lcp}), ` +
        `speed index ${ms('speed-index')}, layout shift ${audits['cumulative-layout-shift'].numericValue.toFixed(3)}` +
        (shifts ? ` (${shifts})` : '') + (tasks ? `; longest tasks: ${tasks}` : ''));
    }
  }
} finally {
  await server.close();
  await rm(dir, { recursive: true, force: true });
}
