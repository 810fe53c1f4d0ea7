#!/bin/sh
# Measures the bindings against the C++ call: 1 MB (2^20 bytes) of dense
# Chinese characters to codes and 1 MB of codes to characters, and one short
# call (陳大文 in the Taiwan book). Prints a table; with --write, puts it in
# docs/performance.md as the section "Bindings".
#
#   tools/bench-bindings.sh [--write]
#
# Needs `make native web` first; installs the Python module as
# tools/test-python.sh does.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
native=build/native
npm_package=build/web/npm/package
[ -f "$native/core/libyishu.a" ] || { echo "bench-bindings: build first (make native)" >&2; exit 1; }
[ -f "$npm_package/index.mjs" ] || { echo "bench-bindings: build first (make web)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/bench-bindings.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
rounds=${ROUNDS:-10}

# The texts: every character of the mainland book that UTF-8 writes in three
# bytes, over and over, and the codes of those characters.
"$native/cli/telecode" --list | /usr/bin/python3 -c '
import sys
chars = [line.split("\t")[1].rstrip("\n") for line in sys.stdin]
chars = [c for c in chars if len(c.encode()) == 3]
block = "".join(chars).encode()
text = (block * (2**20 // len(block) + 1))[: 2**20 // 3 * 3]
open(sys.argv[1], "wb").write(text)
' "$work/hanzi.txt"
"$native/cli/telecode" "$work/hanzi.txt" | head -c $((1048576 / 5 * 5)) >"$work/codes.txt"

c++ -std=c++20 -O2 -I core/include -I "$native/generated" bench/bindings/native.cpp \
  "$native/core/libyishu.a" -o "$work/native"
venv=build/python-venv
[ -x "$venv/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$venv"
"$venv/bin/python" -m pip install --quiet --no-build-isolation --no-index --no-deps \
  --disable-pip-version-check . >/dev/null

{
  "$work/native" "$work/hanzi.txt" "$work/codes.txt" "$rounds"
  (cd "$work" && "$root/$venv/bin/python" "$root/bench/bindings/python_bench.py" hanzi.txt codes.txt "$rounds")
  node bench/bindings/node_bench.mjs "$npm_package" "$work/hanzi.txt" "$work/codes.txt" "$rounds"
} >"$work/figures.txt"

/usr/bin/python3 - "$work/figures.txt" "${1:-}" <<'PYEOF'
import subprocess
import sys
import time
from pathlib import Path

figures = {}
for line in Path(sys.argv[1]).read_text().split("\n"):
    if line:
        name, *values = line.split()
        figures[name] = [float(v) for v in values]
ROWS = [  # name, label, its C++ baseline
    ("c++-utf8", "C++ `ConvertText`, UTF-8", "c++-utf8"),
    ("c", "C `yishu_convert`, UTF-8", "c++-utf8"),
    ("python-str", "Python `yishu.encode`/`decode`, str", "c++-utf8"),
    ("python-bytes", "Python, bytes (UTF-8)", "c++-utf8"),
    ("c++-utf16", "C++ `ConvertText`, UTF-16", "c++-utf16"),
    ("npm", "npm (WebAssembly in Node), string", "c++-utf16"),
]
nproc = subprocess.run(["nproc"], capture_output=True, text=True).stdout.strip()
cpu = next((l.split(":", 1)[1].strip() for l in Path("/proc/cpuinfo").read_text().split("\n")
            if l.startswith("model name")), "")
node = subprocess.run(["node", "--version"], capture_output=True, text=True).stdout.strip()
out = [
    "## Bindings",
    "",
    "`tools/bench-bindings.sh`: 1 MB (2^20 bytes of UTF-8) of dense Chinese characters to codes,",
    "1 MB of their codes to characters, in MB of UTF-8 input per second (the best of the runs),",
    "and one short call, 陳大文 to codes in the Taiwan book, in nanoseconds. Each binding",
    "is set against the C++ call in the same text form: the npm package takes JavaScript",
    "strings, which the core converts as UTF-16.",
    "",
    f"Measured {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())} on {cpu}, {nproc} cores; "
    f"load average {Path('/proc/loadavg').read_text().split()[0]} while measuring; "
    f"Node {node}, the package as `make web` builds it.",
    "",
    "| Binding | to codes, MB/s | of C++ | to characters, MB/s | of C++ | one short call, ns | over C++, ns |",
    "|---|---|---|---|---|---|---|",
]
for name, label, base in ROWS:
    if name not in figures:
        continue
    codes, chars, short = figures[name]
    b = figures[base]
    share = lambda x, y: "" if name == base else f"{x / y:.2f}"
    over = "" if name == base else f"{short - b[2]:,.0f}"
    out.append(f"| {label} | {codes:,.0f} | {share(codes, b[0])} | {chars:,.0f} | "
               f"{share(chars, b[1])} | {short:,.0f} | {over} |")
out += [
    "",
    "- The C call converts into a string of the library and copies it into the caller's buffer.",
    "- Python converts bytes as they are; a str is encoded to UTF-8 on the way in and the",
    "  result decoded on the way out, which is most of the difference between the two rows.",
    "  Of the short call, the compiled call (pybind11's conversion of the arguments, then",
    "  the C++ call) took 510-820 ns by `timeit` (of 1.0-1.2 µs); the rest is the package's Python, which",
    "  names the options and encodes the str.",
    "- The npm package copies the string into the module's memory unit by unit and reads the",
    "  result back with Node's Buffer (a browser's TextDecoder); the core itself runs as",
    "  WebAssembly without the SSE2 steps of the native build.",
]
table = "\n".join(out)
print(table)
if sys.argv[2] == "--write":
    doc = Path("docs/performance.md")
    text = doc.read_text()
    before, marker, after = text.partition("\n## Bindings\n")
    rest = after.split("\n## ", 1)
    tail = "\n## " + rest[1] if marker and len(rest) > 1 else ""
    doc.write_text(before.rstrip("\n") + "\n\n" + table + "\n" + tail)
    print(f"wrote {doc}")
PYEOF
