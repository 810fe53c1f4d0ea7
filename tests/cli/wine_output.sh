#!/bin/sh
# telecode.exe's output under Wine: a file that is also the output, a reader
# that goes away, and text on a console in every encoding.
#
#   wine_output.sh TELECODE_EXE
set -eu
EXE=$1
. "$(dirname "$0")/wine_checks.sh"

# A file that is also the output is refused, however it is given; a fault
# would write without end, so the run has a time and a file size limit.
appending() {  # telecode's arguments; standard output appended to a.txt
  status=0
  (ulimit -f 4096 && exec timeout 20 "$WINE" "$EXE" "$@") >> a.txt 2> err.txt || status=$?
}
printf '中文\n' > a.txt
printf '码' > b.txt
appending a.txt
check "a file that is the output: status" 1 "$status"
check "a file that is the output: message" "telecode: a.txt: input file is output file" "$(cat err.txt)"
appending < a.txt
check "standard input that is the output: status" 1 "$status"
check "standard input that is the output: message" \
  "telecode: standard input: input file is output file" "$(cat err.txt)"
check "the file is left as it was" "$(printf '中文\n' | hex)" "$(hex < a.txt | cut -c1-100)"
printf '中文\n' > a.txt
appending b.txt
check "another file appended: status" 0 "$status"
appending < b.txt
check "another file through standard input: status" 0 "$status"
check "other files are appended" "$(printf '中文\n4316 4316 ' | hex)" "$(hex < a.txt | cut -c1-100)"

# A reader that stops early (| head) ends the conversion quietly.
i=0
while [ $i -lt 20000 ]; do echo "电报码中文电报码中文，abc 一二三"; i=$((i + 1)); done > big.txt
{
  status=0
  timeout 60 "$WINE" "$EXE" big.txt 2> err.txt || status=$?
  echo $status > status.txt
} | head -c1 > /dev/null
check "a reader gone: status" 0 "$(cat status.txt)"
check "a reader gone: no message" "" "$(cat err.txt)"

# Files and pipes get the bytes exactly; a console (a pseudo-terminal through
# script(1)) shows the text, whatever the encoding.
printf '0022 2429 ' > codes.txt
printf '\377\376\060\000\060\000\062\000\062\000\040\000\062\000\064\000\062\000\071\000\040\000' > le.txt
printf '\376\377\000\060\000\060\000\062\000\062\000\040\000\062\000\064\000\062\000\071\000\040' > be.txt
timeout 60 "$WINE" "$EXE" -d -e cp936 codes.txt > cp936.out
check "CP936 into a file" "d6 d0 ce c4" "$(hex < cp936.out)"
timeout 60 "$WINE" "$EXE" -d -e utf-16 le.txt > le.out
check "UTF-16 into a file" "ff fe 2d 4e 87 65" "$(hex < le.out)"
for args in "-e cp936 codes.txt" "-e gb18030 codes.txt" "-e utf-16 le.txt" "-e utf-16 be.txt" \
            "codes.txt"; do
  timeout 60 script -qc "'$WINE' '$EXE' -d $args" /dev/null < /dev/null > console.out 2>&1 || true
  if grep -q 中文 console.out; then
    echo "ok: console shows $args"
  else
    echo "FAILED: console, $args: $(head -c 200 console.out)"
    failures=$((failures + 1))
  fi
done

[ "$failures" -eq 0 ]
