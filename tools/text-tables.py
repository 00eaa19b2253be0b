#!/usr/bin/env python3
"""Writes src/Base/TextTables.cpp, the cells every character takes and the
pairs that compose into one character, from the Unicode data files
(Debian's unicode-data package: /usr/share/unicode).

    tools/text-tables.py           writes the file
    tools/text-tables.py --check   exit 1 when the file is not what the data gives

The widths follow what a terminal gives a character (the C library's wcwidth
on these machines): none for the marks and format characters (general
categories Mn, Me, Cf, but the soft hyphen and the prepended concatenation
marks) and the Hangul vowel and final jamo, which join the syllable before
them; two for East Asian Wide and Fullwidth characters (unassigned ones in the
ideograph blocks included), the hexagram symbols and the circled numbers on
black squares; one for the rest.
"""
import argparse
import os
import re
import sys

DATA = os.environ.get("UNICODE_DATA", "/usr/share/unicode")
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "src", "Base", "TextTables.cpp")

LIMIT = 0x110000
# Characters that change how a name looks without showing themselves: each
# shows as "?" in one cell. A choice of the program, not of the data: the
# direction overrides, marks and isolates, invisible spaces, separators and
# operators, fillers, the byte-order mark, shorthand and musical format
# controls, tags. The joiners U+200C and U+200D shape scripts and emoji and
# are not among them.
SELF_HIDING = [
    (0x00AD, 0x00AD), (0x034F, 0x034F), (0x061C, 0x061C), (0x115F, 0x1160),
    (0x17B4, 0x17B5), (0x180E, 0x180E), (0x200B, 0x200B), (0x200E, 0x200F),
    (0x2028, 0x202E), (0x2060, 0x206F), (0x3164, 0x3164), (0xFEFF, 0xFEFF),
    (0xFFA0, 0xFFA0), (0xFFF9, 0xFFFB), (0x1BCA0, 0x1BCA3), (0x1D173, 0x1D17A),
    (0xE0001, 0xE0001), (0xE0020, 0xE007F),
]
# Unassigned code points that the width file gives W unlisted.
DEFAULT_WIDE = [(0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF),
                (0x20000, 0x2FFFD), (0x30000, 0x3FFFD)]
# Wide on terminals though the width file says N.
ALSO_WIDE = [(0x3248, 0x324F), (0x4DC0, 0x4DFF)]
# Jamo that join the syllable before them (Hangul vowels and final consonants).
JOINING_JAMO = [(0x1160, 0x11FF), (0xD7B0, 0xD7FF)]

ZERO, ONE, TWO, HIDDEN = 0, 1, 2, 3


def data_lines(name):
    with open(os.path.join(DATA, name), encoding="utf-8") as file:
        for line in file:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def code_range(text):
    first, _, last = text.partition("..")
    return int(first, 16), int(last or first, 16)


def read_unicode_data():
    """General category, combining class and decomposition of every character."""
    category, combining, decomposition = {}, {}, {}
    first = None
    for fields in data_lines("UnicodeData.txt"):
        code, name = int(fields[0], 16), fields[1]
        if name.endswith(", First>"):
            first = code
            continue
        start = first if name.endswith(", Last>") else code
        first = None
        for point in range(start, code + 1):
            category[point] = fields[2]
            combining[point] = int(fields[3])
        if fields[5] and not fields[5].startswith("<"):
            decomposition[code] = [int(part, 16) for part in fields[5].split()]
    return category, combining, decomposition


def read_property(name, value):
    points = set()
    for fields in data_lines(name):
        if fields[1] == value:
            first, last = code_range(fields[0])
            points.update(range(first, last + 1))
    return points


def classes(category):
    wide = points_of(DEFAULT_WIDE)
    for fields in data_lines("EastAsianWidth.txt"):
        first, last = code_range(fields[0])
        if fields[1] in ("W", "F"):
            wide.update(range(first, last + 1))
        else:
            wide.difference_update(range(first, last + 1))
    wide |= points_of(ALSO_WIDE)
    hidden, jamo = points_of(SELF_HIDING), points_of(JOINING_JAMO)
    prepended = read_property("PropList.txt", "Prepended_Concatenation_Mark")
    table = [ONE] * LIMIT
    for point in range(LIMIT):
        kind = category.get(point, "Cn")
        if point in hidden:
            table[point] = HIDDEN
        elif kind in ("Mn", "Me") or (kind == "Cf" and point not in prepended) or point in jamo:
            table[point] = ZERO
        elif point in wide:
            table[point] = TWO
    return table


def points_of(ranges):
    return {point for first, last in ranges for point in range(first, last + 1)}


def compositions(table, combining, decomposition):
    """Pairs of a character and a mark that compose into one character of the
    same cells as the first (NFC's primary composites)."""
    excluded = read_property("DerivedNormalizationProps.txt", "Full_Composition_Exclusion")
    pairs = []
    for composed, parts in decomposition.items():
        if len(parts) != 2 or composed in excluded:
            continue
        base, mark = parts
        if combining.get(base, 0) != 0 or table[mark] != ZERO or table[composed] != table[base]:
            continue
        pairs.append((base, mark, composed))
    return sorted(pairs)


def ranges_of(table, wanted):
    ranges, start = [], None
    for point in range(LIMIT + 1):
        inside = point < LIMIT and table[point] == wanted
        if inside and start is None:
            start = point
        elif not inside and start is not None:
            ranges.append((start, point - 1))
            start = None
    return ranges


def staged(table):
    """The classes in two stages: a block number for every 256 code points,
    and each distinct block's classes, four to a byte."""
    blocks, index = [], []
    known = {}
    for start in range(0, LIMIT, 256):
        packed = bytes(
            table[start + k] | table[start + k + 1] << 2 | table[start + k + 2] << 4
            | table[start + k + 3] << 6 for k in range(0, 256, 4))
        if packed not in known:
            known[packed] = len(blocks)
            blocks.append(packed)
        index.append(known[packed])
    return index, blocks


def numbers(values, per_line, width):
    text = []
    for at in range(0, len(values), per_line):
        cells = (f"{value},".rjust(width + 1) if isinstance(value, int) else f"{value},".ljust(width + 1)
                 for value in values[at:at + per_line])
        text.append(("    " + " ".join(cells)).rstrip())
    return "\n".join(text)


def source_text():
    category, combining, decomposition = read_unicode_data()
    table = classes(category)
    index, blocks = staged(table)
    pairs = compositions(table, combining, decomposition)
    with open(os.path.join(DATA, "ReadMe.txt"), encoding="utf-8") as file:
        found = re.search(r"Version (\d+\.\d+\.\d+)", file.read())
    version = found.group(1) if found else "?"
    out = []
    out.append("// Generated by tools/text-tables.py from the Unicode data; do not edit.")
    out.append("// Run the script again after a change of the data or of its rules.")
    out.append('#include "Base/TextTables.h"')
    out.append("")
    out.append("namespace TextTables {")
    out.append("")
    out.append(f"const char UnicodeVersion[] = \"{version}\";")
    out.append("")
    for name, wanted in (("ZeroRanges", ZERO), ("WideRanges", TWO), ("HiddenRanges", HIDDEN)):
        found = ranges_of(table, wanted)
        out.append(f"const CodeRange {name}[] = {{")
        out.append(numbers([f"{{0x{a:X}, 0x{b:X}}}" for a, b in found], 4, 18))
        out.append("};")
        out.append(f"const std::size_t {name}Count = {len(found)};")
        out.append("")
    out.append(f"const std::uint8_t BlockOfPage[{len(index)}] = {{")
    out.append(numbers(index, 16, 3))
    out.append("};")
    out.append("")
    out.append(f"const std::uint8_t PackedBlocks[{len(blocks)}][64] = {{")
    for block in blocks:
        out.append("    {" + ",".join(str(b) for b in block) + "},")
    out.append("};")
    out.append("")
    out.append("const Composition Compositions[] = {")
    out.append(numbers([f"{{0x{a:X}, 0x{b:X}, 0x{c:X}}}" for a, b, c in pairs], 3, 26))
    out.append("};")
    out.append(f"const std::size_t CompositionCount = {len(pairs)};")
    out.append("")
    out.append("}  // namespace TextTables")
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="compare the file with what the data gives instead of writing it")
    arguments = parser.parse_args()
    if not os.path.isfile(os.path.join(DATA, "UnicodeData.txt")):
        print(f"text-tables: no Unicode data in {DATA} (apt-get install unicode-data)",
              file=sys.stderr)
        return 2
    text = source_text()
    if arguments.check:
        with open(OUTPUT, encoding="utf-8") as file:
            if file.read() != text:
                print(f"text-tables: {OUTPUT} differs from the Unicode data: run "
                      "tools/text-tables.py", file=sys.stderr)
                return 1
        return 0
    with open(OUTPUT, "w", encoding="utf-8") as file:
        file.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
