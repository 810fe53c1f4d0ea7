#!/usr/bin/env python3
"""Copies `telecode --help` into the usage section of docs/telecode.md.

The help text in cli/options.cpp is the one source of telecode's usage: --help
prints it, the manual page is made from it (help2man) and the documentation
shows it between the two marker lines below. Run this after changing it:

    tools/gen_usage_doc.py build/native/cli/telecode [--output FILE]

Without --output the document is rewritten in place.
"""
import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOC = os.path.join(ROOT, "docs", "telecode.md")
BEGIN = "<!-- usage: the output of `telecode --help`, copied by tools/gen_usage_doc.py -->"
END = "<!-- end of usage -->"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("telecode")
    parser.add_argument("--output", default=DOC)
    args = parser.parse_args()

    help_text = subprocess.run([args.telecode, "--help"], check=True,
                               capture_output=True).stdout.decode("utf-8")
    with open(DOC, encoding="utf-8") as f:
        doc = f.read()
    first, last = doc.find(BEGIN), doc.find(END)
    if first < 0 or last < first:
        sys.exit(f"gen_usage_doc: {DOC} lacks the lines {BEGIN!r} and {END!r}")
    block = f"{BEGIN}\n```text\n{help_text}```\n"
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(doc[:first] + block + doc[last:])


if __name__ == "__main__":
    main()
