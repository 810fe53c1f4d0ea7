"""What the generators of the Taiwan and e-CCC tables (gen_book_data.py,
gen_eccc.py) write alike: tables of CodeRow, each row with the CP936 bytes of
its character."""
import gen_table

# The comment and the opening of a file of CodeRow tables.
OPENING = [
    "// Each row: code, CP936 bytes of the character (0, 0 where the code page",
    "// lacks it), its code point, whether the character converts back to it.",
    '#include "code_table.h"',
    "",
    "namespace yishu::detail {",
    "",
]


def cp936_pair(ch):
    """The two CP936 bytes of `ch`, or 0, 0 where the code page lacks it."""
    if 0xE000 <= ord(ch) <= 0xE05D:
        b = gen_table.cp936_bytes(ch)
    else:
        try:
            b = ch.encode("gbk")
        except UnicodeEncodeError:
            return 0, 0
        if len(b) != 2:
            return 0, 0
    return b[0], b[1]


def row(code, ch, produced):
    lead, trail = cp936_pair(ch)
    return (f"    {{{code}, 0x{lead:02X}, 0x{trail:02X}, 0x{ord(ch):04X}, "
            f"{'true' if produced else 'false'}}},")
