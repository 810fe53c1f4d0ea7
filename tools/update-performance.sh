#!/bin/sh
# Measures the engine (the benchmark's engine rows, 1 KB to 1 MB) and, with
# --cli, telecode against iconv (tools/bench-cli.sh), and writes the figures
# with the date, the machine and the commands to docs/performance.md.
#
#   tools/update-performance.sh [--cli]
#
# Build first with `make native` (it builds the benchmark).
set -eu
cd "$(dirname "$0")/.."
BENCH=build/native/bench/yishu_bench
[ -x "$BENCH" ] || { echo "update-performance: $BENCH is not built (make native)" >&2; exit 1; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/performance.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

"$BENCH" --benchmark_filter='^(engine|as-written)/' --benchmark_format=json >"$WORK/engine.json"
if [ "${1:-}" = "--cli" ]; then
  tools/bench-cli.sh >"$WORK/cli.txt"
fi

python3 - "$WORK" <<'PYEOF'
import json
import platform
import subprocess
import sys
import time
from pathlib import Path

work = Path(sys.argv[1])
doc = Path("docs/performance.md")
runs = json.loads((work / "engine.json").read_text())["benchmarks"]

def cpu():
    for line in Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            return line.split(":", 1)[1].strip()
    return platform.processor()

compiler = subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
# engine/..., engine/taiwan/... and as-written/...: the mainland book with
# codes as typed, the Taiwan book, and codes read as written.
SETTINGS = {"engine": "mainland", "engine/taiwan": "Taiwan", "as-written": "mainland, as written"}
rows = {}
for run in runs:
    *setting, direction, text, form, size = run["name"].split("/")
    key = (direction, text, SETTINGS["/".join(setting)], form)
    rows.setdefault(key, {})[int(size)] = run["bytes_per_second"] / 2**20

def text_name(direction, text):
    return {("CodeToChar", "codes"): "codes to characters, a telegram of codes",
            ("CodeToChar", "dense"): "codes to characters, codes alone",
            ("CharToCode", "hanzi"): "characters to codes, Chinese text",
            ("CharToCode", "dense"): "characters to codes, Chinese characters alone",
            ("CodeToChar", "nothing(hanzi)"): "codes to characters, Chinese text without codes",
            ("CodeToChar", "nothing(ascii)"): "codes to characters, ASCII prose",
            ("CharToCode", "nothing(ascii)"): "characters to codes, ASCII prose"}[(direction, text)]

out = [
    "# Performance",
    "",
    "Figures written by `tools/update-performance.sh` (engine) and, with `--cli`,",
    "by `tools/bench-cli.sh` (telecode against iconv). Run the script again to",
    "refresh them; figures from another machine or hour are not comparable. On a",
    "shared machine single figures vary by up to twice: compare two builds in",
    "alternating runs.",
    "",
    f"Measured {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())} on {cpu()},",
    f"{subprocess.run(['nproc'], capture_output=True, text=True).stdout.strip()} cores, {compiler}, Release build.",
    "",
    "## Engine",
    "",
    "`make bench` (Google Benchmark, `bench/convert_bench.cpp`): input megabytes",
    "(2^20 bytes) per second of CPU time.",
    "",
    "| Direction, text | Book | Form | 1 KB | 64 KB | 1 MB |",
    "|---|---|---|---|---|---|",
]
last = None
for (direction, text, book, form), by_size in sorted(
        rows.items(), key=lambda item: (text_name(*item[0][:2]), list(SETTINGS.values()).index(item[0][2]))):
    name = text_name(direction, text)
    cells = [f"{by_size[s]:,.0f}" if s in by_size else "" for s in (1 << 10, 64 << 10, 1 << 20)]
    out.append(f"| {name if name != last else ''} | {book} | {form} | " + " | ".join(cells) + " |")
    last = name
# The figures of telecode are kept unless measured again, and the written
# account of what bounds the speed is kept as it stands.
old = doc.read_text() if doc.exists() else ""
old, bounds_marker, bounds = old.partition("\n## What bounds the speed")
cli = work / "cli.txt"
if cli.exists():
    # The binary's path says where this checkout lies, not how fast it is:
    # only a path inside the checkout is kept, relative to it.
    lines = []
    for line in cli.read_text().rstrip().splitlines():
        if line.startswith("telecode: "):
            binary = Path(line.split(": ", 1)[1])
            if not binary.is_relative_to(Path.cwd()):
                continue
            line = f"telecode: {binary.relative_to(Path.cwd())}"
        lines.append(line)
    out += ["", "## telecode", "", "`tools/bench-cli.sh`:", "", "```", *lines, "```"]
elif "## telecode" in old:
    out += ["", "## telecode" + old.split("## telecode", 1)[1].rstrip()]
if bounds_marker:
    out += [bounds_marker + bounds.rstrip()]
doc.write_text("\n".join(out) + "\n")
print(f"wrote {doc}")
PYEOF
