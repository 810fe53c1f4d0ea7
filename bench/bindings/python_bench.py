"""The Python module's figures, printed as the native baseline prints its own:
NAME MB/s-to-codes MB/s-to-chars ns-per-short-call."""
import sys
import time

import yishu


def best(rounds, calls, f):
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        for _ in range(calls):
            f()
        times.append((time.perf_counter() - start) / calls)
    return min(times)


hanzi_bytes = open(sys.argv[1], "rb").read()
codes_bytes = open(sys.argv[2], "rb").read()
rounds = int(sys.argv[3])
hanzi, codes = hanzi_bytes.decode(), codes_bytes.decode()
mb = 2**20
for name, a, b, c in (("python-str", hanzi, codes, "陳大文"),
                      ("python-bytes", hanzi_bytes, codes_bytes, "陳大文".encode())):
    to_codes = best(rounds, 1, lambda: yishu.encode(a))
    to_chars = best(rounds, 1, lambda: yishu.decode(b))
    short = best(rounds, 20000, lambda: yishu.encode(c, book="taiwan"))
    print(f"{name} {len(hanzi_bytes) / mb / to_codes:.0f} {len(codes_bytes) / mb / to_chars:.0f} "
          f"{short * 1e9:.0f}")
