#!/bin/sh
# telecode.exe under Wine: a Chinese file name, pipes in binary, UTF-16, exit
# statuses.
#
#   wine_smoke.sh TELECODE_EXE VERSION
set -eu
EXE=$1
. "$(dirname "$0")/wine_checks.sh"

# Every run has a time limit, so that a fault hangs no test run.
telecode() {
  timeout 60 "$WINE" "$EXE" "$@"
}

printf '中文电报码\n' > 电报.txt
check "a file with a Chinese name" "0022 2429 7193 1032 4316 " "$(telecode 电报.txt)"

check "codes through a pipe" "中文" "$(printf '0022 2429 ' | telecode -d)"

printf '0022 \r\n2429 ' > crlf.txt
telecode -d crlf.txt > crlf.out
check "line breaks kept byte for byte" "$(printf '中\r\n文' | od -An -tx1)" "$(od -An -tx1 crlf.out)"

printf '\326\320\316\304' > gbk.txt
check "CP936" "0022 2429 " "$(telecode -e gbk gbk.txt)"

# UTF-16 in both byte orders: 中文 after its mark, codes back in the same form.
printf '\377\376\055\116\207\145' > le.txt
check "UTF-16 little-endian" "ff fe 30 00 30 00 32 00 32 00 20 00 32 00 34 00 32 00 39 00 20 00" \
  "$(telecode -e utf-16 le.txt | hex)"
printf '\376\377\116\055\145\207' > be.txt
check "UTF-16 big-endian" "fe ff 00 30 00 30 00 32 00 32 00 20 00 32 00 34 00 32 00 39 00 20" \
  "$(telecode -e utf-16 be.txt | hex)"

i=0
while [ $i -lt 20000 ]; do echo "电报码中文电报码中文，abc 一二三"; i=$((i + 1)); done > big.txt
telecode big.txt > big.codes
telecode -d big.codes > big.back
check "a 1.2 MB round trip" "$(od -An -tx1 big.txt | cksum)" "$(od -An -tx1 big.back | cksum)"

status=0
telecode 电报.txt 缺失.txt > out.txt 2> err.txt || status=$?
check "a missing file: exit status" 1 "$status" err.txt
check "a missing file: the others still converted" "0022 2429 7193 1032 4316 " "$(cat out.txt)"
case "$(cat err.txt)" in
  "telecode: 缺失.txt: "*) echo "ok: a missing file: named in the message" ;;
  *) echo "FAILED: message: $(cat err.txt)"; failures=$((failures + 1)) ;;
esac

status=0
telecode --bogus > /dev/null 2> err.txt || status=$?
check "an unknown option: exit status" 2 "$status" err.txt

# On a console (a pseudo-terminal through script(1)), UTF-8 output and
# messages must show as Unicode: written as raw bytes, the console's code page
# (437 here) would garble them.
if command -v script > /dev/null; then
  printf '0022 2429 ' > console.txt
  timeout 60 script -qc "'$WINE' '$EXE' -d console.txt 缺失.txt" /dev/null < /dev/null > console.out 2>&1 || true
  for expected in 中文 "telecode: 缺失.txt:"; do
    if grep -q "$expected" console.out; then
      echo "ok: console shows $expected"
    else
      echo "FAILED: console: expected $expected in: $(cat console.out)"
      failures=$((failures + 1))
    fi
  done
fi

check "version" "telecode $2" "$(telecode --version)"

[ "$failures" -eq 0 ]
