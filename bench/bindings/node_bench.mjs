// The npm package's figures, printed as the native baseline prints its own:
// NAME MB/s-to-codes MB/s-to-chars ns-per-short-call (MB of the UTF-8 files,
// so that the figures compare with the other bindings').
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const [packageDir, hanziPath, codesPath, roundsText] = process.argv.slice(2);
const yishu = await import(pathToFileURL(`${packageDir}/index.mjs`));
const hanziBytes = readFileSync(hanziPath), codesBytes = readFileSync(codesPath);
const hanzi = hanziBytes.toString('utf8'), codes = codesBytes.toString('utf8');
const rounds = Number(roundsText);

function best(calls, f) {
  let min = Infinity;
  for (let r = 0; r < rounds; ++r) {
    const start = process.hrtime.bigint();
    for (let i = 0; i < calls; ++i) f();
    min = Math.min(min, Number(process.hrtime.bigint() - start) / 1e9 / calls);
  }
  return min;
}

const mb = 2 ** 20;
const toCodes = best(1, () => yishu.encode(hanzi));
const toChars = best(1, () => yishu.decode(codes));
const short = best(20000, () => yishu.encode('陳大文', { book: 'taiwan' }));
console.log(`npm ${(hanziBytes.length / mb / toCodes).toFixed(0)} ${(codesBytes.length / mb / toChars).toFixed(0)} ${(short * 1e9).toFixed(0)}`);
