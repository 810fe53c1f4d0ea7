#!/usr/bin/env python3
"""Measures how many characters of Big5 (CP950) each code book gives a code:
directly, through the routes of --variants=forms (by the source of the
route), only through the simplified and traditional links (--variants=all),
or not at all. Writes docs/coverage.md.

Level 1 is CP950 0xA440-0xC67E (the common characters), level 2 0xC940-0xF9D5.
The figures come from the built telecode itself, so they are what users get.

Usage: coverage.py TELECODE [--output FILE]
"""
import argparse
import os
import re
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BOOKS = [("mainland", "Mainland"), ("taiwan", "Taiwan"), ("eccc", "e-CCC")]
# Route kinds, in the order a route is named by: the first of its sources.
KINDS = [("opencc", "OpenCC's Taiwan or Hong Kong variants"),
         ("eccc", "e-CCC old and Big5 forms"),
         ("unihan-z", "Unihan Z variants"),
         ("unihan-semantic", "Unihan semantic variants")]


def big5_level(first, last):
    chars = []
    for code in range(first, last + 1):
        lead, trail = code >> 8, code & 0xFF
        if not (0x40 <= trail <= 0x7E or 0xA1 <= trail <= 0xFE):
            continue
        try:
            ch = bytes([lead, trail]).decode("cp950")
        except UnicodeDecodeError:
            continue
        if len(ch) == 1:
            chars.append(ch)
    return chars


def converted(telecode, book, variants, chars):
    out = subprocess.run([telecode, "-b", book, f"--variants={variants}"],
                         input="\n".join(chars).encode(), capture_output=True, check=True)
    lines = out.stdout.decode().split("\n")
    return {ch: line.strip() for ch, line in zip(chars, lines) if re.fullmatch(r"\d{4} ", line)}


def route_kind(telecode, chars):
    """{(book, character): kind of the route whose code telecode produced}."""
    out = subprocess.run([telecode, "--lookup", "".join(chars)], capture_output=True, check=True)
    routes = {}
    for line in out.stdout.decode().splitlines():
        fields = line.split("\t")
        for i, (book, _) in enumerate(BOOKS):
            codes, via = fields[1 + 2 * i].split(" "), fields[2 + 2 * i]
            routes[(book, fields[0])] = (codes, via.split(" "))
    return routes


def kind_of(sources):
    for name, _ in KINDS:
        if name in sources:
            return name
    return "unihan-semantic"  # specialized semantic variants


def measure(telecode, chars):
    lookups = route_kind(telecode, chars)
    figures = {}
    for book, _ in BOOKS:
        none = converted(telecode, book, "none", chars)
        forms = converted(telecode, book, "forms", chars)
        every = converted(telecode, book, "all", chars)
        counts = {"direct": 0, "all": 0, "left": 0, **{k: 0 for k, _ in KINDS}}
        left = []
        for ch in chars:
            if ch in none:
                counts["direct"] += 1
            elif ch in forms:
                codes, vias = lookups[(book, ch)]
                sources = next((v for v in vias if forms[ch].strip() in codes), vias[0])
                counts[kind_of(sources)] += 1
            elif ch in every:
                counts["all"] += 1
            else:
                counts["left"] += 1
                left.append(ch)
        figures[book] = (counts, left)
    return figures


def render(levels):
    out = ["# How much of Big5 each code book covers", "",
           "Written by `tools/coverage.py` from the built `telecode`; run it again after",
           "changing a book or the variant data. Big5 level 1 is CP950 0xA440–0xC67E (the",
           "common traditional characters), level 2 0xC940–0xF9D5.", "",
           "Each character counts once, under the first way that gives it a code:",
           "the book itself; a route of `--variants=forms` (the default of the Taiwan and",
           "e-CCC books), named by its first source; only `--variants=all` (simplified",
           "and traditional links); none.", ""]
    header = "| | " + " | ".join(f"{title}, level {lvl}" for lvl, _ in levels
                                   for _, title in BOOKS) + " |"
    out += [header, "|---" * (1 + len(levels) * len(BOOKS)) + "|"]
    rows = [("direct", "in the book")] + [(k, f"through {t}") for k, t in KINDS] + \
        [("all", "only with `--variants=all`"), ("left", "no code")]
    for key, title in rows:
        cells = [str(figures[book][0][key]) for _, figures in levels for book, _ in BOOKS]
        out.append(f"| {title} | " + " | ".join(cells) + " |")
    sizes = [str(sum(figures[book][0].values())) for _, figures in levels for book, _ in BOOKS]
    out.append("| characters | " + " | ".join(sizes) + " |")
    out += ["", "## Level 1 characters left without a code", ""]
    figures = dict(levels)[1]
    for book, title in BOOKS:
        left = figures[book][1]
        out += [f"{title} book ({len(left)}): " + ("".join(left) if left else "none"), ""]
    return "\n".join(out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("telecode")
    ap.add_argument("--output", default=os.path.join(ROOT, "docs", "coverage.md"))
    args = ap.parse_args()
    levels = [(1, measure(args.telecode, big5_level(0xA440, 0xC67E))),
              (2, measure(args.telecode, big5_level(0xC940, 0xF9D5)))]
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(render(levels))


if __name__ == "__main__":
    main()
