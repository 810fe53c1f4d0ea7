#!/usr/bin/env python3
"""Writes the Taiwan code book and the variant data that yishu looks up.

  * core/src/taiwan_table.cpp: one row per code of the Taiwan book, from the
    field kTaiwanTelegraph of the Unicode Han database (Unihan_OtherMappings).
    A character with two codes converts back to the lower one.
  * core/src/variant_table.cpp: the pairs (character, variant) whose variant
    has a code in some book, each with the sources that link them: the
    fields kSimplifiedVariant, kTraditionalVariant, kSemanticVariant,
    kSpecializedSemanticVariant and kZVariant (Unihan_Variants; the last three
    link both ways) and OpenCC's Taiwan and Hong Kong variant tables
    (tools/data/opencc-variants.txt, both ways) and the e-CCC rows whose
    traditional form Big5 lacks and whose other form Big5 holds (both ways);
    the standard forms that
    decoding may write for old forms of the traditional books; and the CP936
    byte pairs that hold a CJK ideograph with their ideographs.

The standard form of a book's character that Big5 (CP950, Python's cp950
codec) lacks is the one variant in CP950 that OpenCC's tables or the e-CCC
rows give it, or else the one its Z variants give it, or else the one its
semantic variants give it.

tools/data/opencc-variants.txt holds the single-character entries of OpenCC's
tables, so that generating needs no OpenCC; --extract-opencc DIR writes it
again from the .ocd2 files in DIR (opencc_dict, Debian package opencc).

Character bytes follow the published CP936 mapping (Python's gbk codec);
characters that CP936 cannot hold get the bytes 0, 0.

Usage: gen_book_data.py [--unihan-dir DIR] [--output-dir DIR] [--extract-opencc DIR]
"""
import argparse
import os
import subprocess
import sys
import tempfile

import code_rows
import gen_eccc
import gen_table

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
UNIHAN_VERSION = gen_table.UNIHAN_VERSION

# The CJK ideograph blocks of Unicode 15.0: the unified ideographs with their
# extensions A to H, and the compatibility ideographs.
IDEOGRAPH_RANGES = [
    (0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF), (0x20000, 0x2A6DF),
    (0x2A700, 0x2EBEF), (0x2F800, 0x2FA1F), (0x30000, 0x323AF),
]


def is_ideograph(cp):
    return any(lo <= cp <= hi for lo, hi in IDEOGRAPH_RANGES)


def taiwan_rows(unihan_dir):
    fields = gen_table.read_fields(os.path.join(unihan_dir, "Unihan_OtherMappings.txt.bz2"),
                         ["kTaiwanTelegraph"])
    rows = {}
    for cp, codes in fields["kTaiwanTelegraph"]:
        for code in codes:
            if int(code) in rows:
                sys.exit(f"gen_book_data: Taiwan code {code} has two characters")
            rows[int(code)] = cp
    return sorted(rows.items())


def mainland_characters():
    codes = gen_table.read_runs(os.path.join(HERE, "data", "code-runs.txt"))
    fixed = gen_table.read_fixed(os.path.join(HERE, "data", "fixed-rows.txt"))
    mainland, taiwan = gen_table.read_unihan(
        "/usr/share/unicode/Unihan_OtherMappings.txt.bz2")
    return {ord(ch) for _, ch in gen_table.build_rows(codes, fixed, mainland, taiwan)}


def eccc_characters():
    return {ord(f) for _, s, t in gen_eccc.read_eccc() for f in (s, t) if f}


# The sources of a link, as the bits of VariantSource in yishu.h.
UNIHAN_SOURCES = {
    "kSimplifiedVariant": 1, "kTraditionalVariant": 2, "kSemanticVariant": 4,
    "kSpecializedSemanticVariant": 8, "kZVariant": 16,
}
OPENCC_SOURCES = {"TWVariants": 32, "TWVariantsRev": 32, "HKVariants": 64, "HKVariantsRev": 64}
ECCC_FORMS = 128  # an e-CCC row's old traditional form and its form in Big5
TWO_WAY = 4 | 8 | 16 | 32 | 64 | 128  # links that hold both ways
OPENCC_FILE = os.path.join(HERE, "data", "opencc-variants.txt")
OPENCC_VERSION = "1.1.6 (Debian package libopencc1.1 1.1.6+ds1-1)"


def read_opencc(path=OPENCC_FILE):
    """[(table, character, variant)] from the extracted OpenCC entries."""
    links = []
    for line in gen_table.read_lines(path):
        table, ch, variants = line.split("\t")
        for v in variants.split(" "):
            links.append((table, ord(ch), ord(v)))
    return links


def extract_opencc(ocd2_dir, path=OPENCC_FILE):
    lines = [
        "# Single-character entries of OpenCC's Taiwan and Hong Kong variant tables",
        f"# (OpenCC {OPENCC_VERSION}, /usr/share/opencc/*.ocd2),",
        "# written by tools/gen_book_data.py --extract-opencc through opencc_dict.",
        "# Format: TABLE <TAB> CHARACTER <TAB> VARIANTS (separated by spaces).",
    ]
    with tempfile.TemporaryDirectory() as tmp:
        for table in sorted(OPENCC_SOURCES):
            text = os.path.join(tmp, table + ".txt")
            subprocess.run(["opencc_dict", "-i", os.path.join(ocd2_dir, table + ".ocd2"),
                            "-o", text, "-f", "ocd2", "-t", "text"], check=True)
            with open(text, encoding="utf-8") as f:
                for line in f:
                    key, values = line.rstrip("\n").split("\t")
                    values = [v for v in values.split(" ") if len(v) == 1 and v != key]
                    if len(key) == 1 and values:
                        lines.append(f"{table}\t{key}\t{' '.join(values)}")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def variant_links(unihan_dir):
    """{(character, variant): sources} of every link, coded or not."""
    fields = gen_table.read_fields(os.path.join(unihan_dir, "Unihan_Variants.txt.bz2"),
                                   list(UNIHAN_SOURCES))
    links = {}

    def add(cp, v, bit):
        if v != cp:
            links[(cp, v)] = links.get((cp, v), 0) | bit
            if bit & TWO_WAY:
                links[(v, cp)] = links.get((v, cp), 0) | bit

    for name, bit in UNIHAN_SOURCES.items():
        for cp, variants in fields[name]:
            for v in variants:
                add(cp, int(v.split("<")[0][2:], 16), bit)
    for table, cp, v in read_opencc():
        add(cp, v, OPENCC_SOURCES[table])
    # Where the e-CCC table's traditional form lies outside Big5 and its
    # "simplified" form is in Big5, the two are old and standard forms of one
    # traditional character (屛 and 屏, 旣 and 既), not a simplification.
    for _, simplified, traditional in gen_eccc.read_eccc():
        if simplified and traditional and simplified != traditional and \
                in_big5(ord(simplified)) and not in_big5(ord(traditional)):
            add(ord(traditional), ord(simplified), ECCC_FORMS)
    return links


def variant_pairs(links, coded):
    return sorted((cp, v, bits) for (cp, v), bits in links.items() if v in coded)


def in_big5(cp):
    try:
        return len(chr(cp).encode("cp950")) == 2
    except UnicodeEncodeError:
        return False


def standard_forms(links, old_candidates):
    """[(old, standard, sources)]: the standard form in Big5 of each book
    character that Big5 lacks, where the links give exactly one."""
    forms = []
    for cp in sorted(old_candidates):
        if in_big5(cp):
            continue
        found = None
        for wanted in (32 | 64 | 128, 16, 4 | 8):  # OpenCC and e-CCC, Z, semantic
            choices = {(v, bits) for (c, v), bits in links.items()
                       if c == cp and bits & wanted and in_big5(v)}
            if len({v for v, _ in choices}) == 1:
                found = choices.pop()
                break
            if choices:
                break  # several: no one standard form
        if found:
            forms.append((cp, found[0], found[1]))
    return forms


def cp936_ideographs():
    """The CP936 byte pairs (lead << 8 | trail) that decode to ideographs, in
    runs, and the ideographs in the same order."""
    pairs, chars = [], []
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            try:
                ch = bytes([lead, trail]).decode("gbk")
            except UnicodeDecodeError:
                continue
            if len(ch) == 1 and is_ideograph(ord(ch)):
                pairs.append(lead << 8 | trail)
                chars.append(ord(ch))
    ranges = []
    for p in pairs:
        if ranges and ranges[-1][1] + 1 == p:
            ranges[-1][1] = p
        else:
            ranges.append([p, p])
    return ranges, chars


HEADER = [
    "// Generated by tools/gen_book_data.py from the Unicode Han database",
    f"// {UNIHAN_VERSION}. Do not edit: change the generator and regenerate.",
]


def render_taiwan(rows):
    out = HEADER + code_rows.OPENING + ["const CodeRow kTaiwanRows[] = {"]
    out += [code_rows.row(code, chr(cp), True) for code, cp in rows]
    out += ["};", "", "const std::size_t kTaiwanRowCount = std::size(kTaiwanRows);", "",
            "}  // namespace yishu::detail", ""]
    return "\n".join(out)


def render_variants(pairs, forms, ranges, chars):
    out = HEADER[:1] + [
        f"// {UNIHAN_VERSION} and OpenCC {OPENCC_VERSION}.",
        "// Do not edit: change the generator and regenerate.",
        "// Each pair: a character, the CP936 bytes of that character (0, 0 where the",
        "// code page lacks it), one of its variants, and the sources of the link.",
        '#include "variant_table.h"',
        "",
        "namespace yishu::detail {",
        "",
        "const VariantPair kVariantPairs[] = {",
    ]
    for cp, v, bits in pairs:
        lead, trail = code_rows.cp936_pair(chr(cp))
        out.append(f"    {{0x{cp:04X}, 0x{lead:02X}, 0x{trail:02X}, 0x{v:04X}, {bits}}},")
    out += ["};", "", "const std::size_t kVariantPairCount = std::size(kVariantPairs);", "",
            "// Old forms of the traditional books' characters, their standard forms",
            "// in Big5, and the sources of the link.",
            "const StandardForm kStandardForms[] = {"]
    for cp, v, bits in forms:
        out.append(f"    {{0x{cp:04X}, 0x{v:04X}, {bits}}},")
    out += ["};", "", "const std::size_t kStandardFormCount = std::size(kStandardForms);", "",
            "const Cp936Range kCp936IdeographRanges[] = {"]
    for lo, hi in ranges:
        out.append(f"    {{0x{lo:04X}, 0x{hi:04X}}},")
    out += ["};", "",
            "const std::size_t kCp936IdeographRangeCount = std::size(kCp936IdeographRanges);",
            "", "const char16_t kCp936Ideographs[] = {"]
    for i in range(0, len(chars), 10):
        out.append("    " + " ".join(f"0x{c:04X}," for c in chars[i:i + 10]))
    out += ["};", "", "const std::size_t kCp936IdeographCount = std::size(kCp936Ideographs);",
            "", "}  // namespace yishu::detail", ""]
    return "\n".join(out)


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--unihan-dir", default="/usr/share/unicode")
    ap.add_argument("--output-dir", default=os.path.join(ROOT, "core", "src"))
    ap.add_argument("--extract-opencc", metavar="DIR",
                    help="write tools/data/opencc-variants.txt from DIR/*.ocd2 first")
    args = ap.parse_args()
    if args.extract_opencc:
        extract_opencc(args.extract_opencc)
    rows = taiwan_rows(args.unihan_dir)
    eccc = gen_eccc.read_eccc()
    coded = mainland_characters() | {cp for _, cp in rows} | eccc_characters()
    links = variant_links(args.unihan_dir)
    traditional = {cp for _, cp in rows} | {ord(t) for _, _, t in eccc if t}
    write(os.path.join(args.output_dir, "taiwan_table.cpp"), render_taiwan(rows))
    write(os.path.join(args.output_dir, "variant_table.cpp"),
          render_variants(variant_pairs(links, coded), standard_forms(links, traditional),
                          *cp936_ideographs()))


if __name__ == "__main__":
    main()
