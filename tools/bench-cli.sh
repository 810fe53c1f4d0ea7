#!/bin/sh
# Measures telecode on 100 MB files, per direction and encoding: throughput,
# peak resident memory, and the ratio of its time to iconv's on the same file
# in the same run (below 1.0: telecode is faster). Output goes to /dev/null
# for both, so the figures are the tools' own work plus reading the input.
#
#   tools/bench-cli.sh [TELECODE [ENCODING...]]
#
# TELECODE defaults to build/native/cli/telecode; ENCODINGs (utf-8, cp936,
# gb18030, utf-16, and utf-16be: UTF-16 with the big-endian mark) to all.
#
# Needs python3, iconv (glibc) and GNU time (/usr/bin/time, package "time").
# Takes about a minute and 1.2 GB in a temporary directory.
set -eu
cd "$(dirname "$0")/.."
TELECODE=$(realpath "${1:-build/native/cli/telecode}")
[ $# -gt 0 ] && shift
[ -x "$TELECODE" ] || { echo "bench-cli: $TELECODE is not built" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench-cli: GNU time is missing (apt-get install time)" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/bench-cli.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

python3 - "$TELECODE" "$WORK" "$@" <<'PYEOF'
import random
import subprocess
import sys
import time
from pathlib import Path

telecode, work = sys.argv[1], Path(sys.argv[2])
ENCODINGS = sys.argv[3:] or ["utf-8", "cp936", "gb18030", "utf-16", "utf-16be"]
SIZE = 100_000_000
RUNS = 5

# Texts built from the code book itself: for CharToCode, characters with a
# code, Chinese punctuation and line breaks, and ("dense") the characters
# alone; for CodeToChar, their codes.
rows = [line.split("\t") for line in
        subprocess.run([telecode, "--list"], capture_output=True, check=True,
                       text=True).stdout.splitlines()]
rows = [(code, char) for code, char in rows if not "\ue000" <= char <= "\uf8ff"]
rng = random.Random(936)


def repeat_to_size(block: bytes) -> bytes:
    return (block * (SIZE // len(block) + 1))[:SIZE]


def chinese_block():
    words = []
    for _ in range(400_000):
        words.append(rng.choice(rows)[1])
        roll = rng.random()
        if roll < 0.06:
            words.append("，")
        elif roll < 0.08:
            words.append("。\n")
    return "".join(words)


def dense_block():
    """Characters with a code and nothing else: no punctuation, no line breaks."""
    return "".join(rng.choice(rows)[1] for _ in range(400_000))


def codes_block():
    words = []
    for _ in range(200_000):
        words.append(rng.choice(rows)[0] + " ")
        if rng.random() < 0.05:
            words.append("\n")
    return "".join(words)


files = {}
for name, text in (("chinese", chinese_block()), ("dense", dense_block()), ("codes", codes_block())):
    for encoding, codec in (("utf-8", "utf-8"), ("cp936", "gbk"), ("utf-16", "utf-16"),
                            ("utf-16be", "utf-16-be")):
        if not {encoding, "gb18030" if encoding == "cp936" else encoding} & set(ENCODINGS):
            continue
        path = work / f"{name}.{encoding}"
        data = text.encode(codec)
        if encoding == "utf-16be":
            data = b"\xfe\xff" + data
        if encoding.startswith("utf-16"):
            data = data[:2] + repeat_to_size(data[2:])[:SIZE - 2]
        else:
            data = repeat_to_size(data)
        path.write_bytes(data)
        files[name, encoding] = path

# iconv converts the same file in the direction users know, from its encoding
# (UTF-8: to GBK, as in `iconv -f utf-8 -t gbk`; CP936 and GB18030: to UTF-8).
# Codes are never cut in two; a character at the very end may be, so -c.
ICONV = {
    "utf-8": ["-f", "utf-8", "-t", "gbk"],
    "cp936": ["-f", "gbk", "-t", "utf-8"],
    "gb18030": ["-f", "gb18030", "-t", "utf-8"],
    "utf-16": ["-f", "utf-16", "-t", "gbk"],
    "utf-16be": ["-f", "utf-16", "-t", "gbk"],
}


def run(command):
    """Wall time, CPU time (user + system) and peak resident set of one run."""
    start = time.perf_counter()
    subprocess.run(["/usr/bin/time", "-f", "%M %U %S", "-o", str(work / "usage"), *command],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    wall = time.perf_counter() - start
    peak, user, system = (work / "usage").read_text().split()[-3:]
    return wall, float(user) + float(system), int(peak)


def measure(telecode_command, iconv_command):
    """Best wall and CPU times of RUNS runs of each, taken in turns so that
    both meet the same load; telecode's largest peak resident set."""
    best = {"telecode": [float("inf")] * 2, "iconv": [float("inf")] * 2}
    peak = 0
    for _ in range(RUNS):
        for name, command in (("telecode", telecode_command), ("iconv", iconv_command)):
            wall, cpu, rss = run(command)
            best[name] = [min(best[name][0], wall), min(best[name][1], cpu)]
            if name == "telecode":
                peak = max(peak, rss)
    return best["telecode"], best["iconv"], peak


print(f"telecode: {telecode}")
print(f"input files of {SIZE / 1e6:.0f} MB; best of {RUNS} runs; MB = 10^6 bytes; the ratio is")
print("telecode's time over iconv's, by the clock and by CPU time (user + system)\n")
print(f"{'direction':<11} {'encoding':<8} {'telecode':>10} {'peak RSS':>9} {'iconv':>10} "
      f"{'ratio':>6} {'CPU ratio':>9}")
worst_ratio, worst_rss = 0.0, 0
for direction, name, flags in (("CharToCode", "chinese", []), ("dense hanzi", "dense", []),
                               ("CodeToChar", "codes", ["-d"])):
    for encoding in ENCODINGS:
        path = str(files[name, "cp936" if encoding == "gb18030" else encoding])
        (wall, cpu), (iconv_wall, iconv_cpu), rss = measure(
            [telecode, *flags, "-e", encoding.removesuffix("be"), path], ["iconv", "-c", *ICONV[encoding], path])
        ratio = wall / iconv_wall
        worst_ratio, worst_rss = max(worst_ratio, ratio), max(worst_rss, rss)
        print(f"{direction:<11} {encoding:<8} {SIZE / wall / 1e6:>5.0f} MB/s {rss / 1024:>6.1f} MiB"
              f" {SIZE / iconv_wall / 1e6:>5.0f} MB/s {ratio:>6.2f} {cpu / iconv_cpu:>9.2f}")
print(f"\nhighest ratio {worst_ratio:.2f} (goal <= 1.0); "
      f"highest peak {worst_rss / 1024:.1f} MiB (goal < 32 MiB)")
PYEOF
