#!/usr/bin/env python3
"""Writes core/KwCharKindTable.inc, the table behind core/KwCharKind.h, from the Unicode
Character Database's UnicodeData.txt (Debian's package unicode-data; tools/setup.sh unicode
installs it).

  tools/charkind-table.py            writes core/KwCharKindTable.inc
  tools/charkind-table.py --check    regenerates into a temporary file and compares it with the
                                     committed one: exit 0 when equal, 1 when not, 77 (skipped,
                                     with the reason) when the database is not installed or is
                                     another version than the one the table was made from
  --ucd DIR                          the database's folder (default /usr/share/unicode)
  --output FILE                      the file to write or check (default core/KwCharKindTable.inc)

For every code point the table holds one record: the general category, whether it is a letter, a
decimal digit (and its value) and printable, and its simple upper and lower case mappings as
differences. The records are few (a couple of hundred distinct ones); code points reach them
through three stages of indexes whose block sizes are chosen here to make the whole smallest.
"""

import argparse
import hashlib
import os
import re
import sys
import tempfile

SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

CATEGORIES = ["Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl", "No", "Pc", "Pd",
              "Ps", "Pe", "Pi", "Pf", "Po", "Sm", "Sc", "Sk", "So", "Zs", "Zl", "Zp", "Cc",
              "Cf", "Cs", "Co", "Cn"]
LETTERS = {"Lu", "Ll", "Lt", "Lm", "Lo"}
NOT_PRINTABLE = {"Cc", "Cf", "Cs", "Cn", "Zl", "Zp"}
# Format characters that words need, and so are printable (see KwCharKind::IsPrintable).
PRINTABLE_FORMAT = {0x00AD, 0x200C, 0x200D}

FLAG_LETTER, FLAG_DIGIT, FLAG_PRINTABLE = 1, 2, 4
LAST = 0x10FFFF


def unicode_version(ucd):
    """The database's version, from the first line of DerivedAge.txt beside UnicodeData.txt."""
    try:
        with open(os.path.join(ucd, "DerivedAge.txt"), encoding="utf-8") as f:
            m = re.match(r"# DerivedAge-(\d+\.\d+\.\d+)\.txt", f.readline())
            return m.group(1) if m else None
    except OSError:
        return None


def read_records(path):
    """One (category, flags, digit, upper delta, lower delta) per code point 0..LAST."""
    unassigned = ("Cn", 0, -1, 0, 0)
    table = [unassigned] * (LAST + 1)
    first = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split(";")
            if len(fields) != 15:
                sys.exit("charkind-table: not a line of UnicodeData.txt: " + line.strip())
            cp = int(fields[0], 16)
            name, cat = fields[1], fields[2]
            if name.endswith(", First>"):
                first = cp
                continue
            span = range(first, cp + 1) if name.endswith(", Last>") else range(cp, cp + 1)
            for c in span:
                table[c] = record(c, cat, fields)
    return table


def record(c, cat, fields):
    if cat not in CATEGORIES:
        sys.exit("charkind-table: U+%04X has an unknown category %s" % (c, cat))
    flags = 0
    if cat in LETTERS:
        flags |= FLAG_LETTER
    digit = -1
    if fields[6]:
        if cat != "Nd":
            sys.exit("charkind-table: U+%04X has a decimal value but is %s" % (c, cat))
        digit = int(fields[6])
        flags |= FLAG_DIGIT
    if cat not in NOT_PRINTABLE or c in PRINTABLE_FORMAT:
        flags |= FLAG_PRINTABLE
    upper = mapping(c, fields[12])
    lower = mapping(c, fields[13])
    return (cat, flags, digit, upper - c, lower - c)


def mapping(c, field):
    """A simple case mapping; one that would change the character's length in UTF-16 units
    (in or out of the Basic Multilingual Plane) is left out: positions hold whole characters."""
    if not field:
        return c
    m = int(field, 16)
    return m if (m > 0xFFFF) == (c > 0xFFFF) else c


def split(values, shift):
    """Cuts values into blocks of 2**shift, keeps each distinct block once: (index, blocks)."""
    size = 1 << shift
    ids, blocks, index = {}, [], []
    for i in range(0, len(values), size):
        block = tuple(values[i:i + size])
        if block not in ids:
            ids[block] = len(blocks)
            blocks.append(block)
        index.append(ids[block])
    return index, blocks


def width(count):
    return 1 if count <= 256 else 2


def layout(ids):
    """The three stages with the fewest bytes: (size, shift2, shift3, stage1, stage2, stage3)."""
    best = None
    for shift3 in range(3, 9):
        index3, blocks3 = split(ids, shift3)
        stage3 = [v for b in blocks3 for v in b]
        for shift2 in range(2, 9):
            if (LAST + 1) % (1 << (shift2 + shift3)):
                continue
            index2, blocks2 = split(index3, shift2)
            stage2 = [v for b in blocks2 for v in b]
            size = (len(index2) * width(len(blocks2)) + len(stage2) * width(len(blocks3)) +
                    len(stage3))
            if best is None or size < best[0]:
                best = (size, shift2, shift3, index2, stage2, stage3)
    return best


def array(name, values):
    kind = "std::uint8_t" if max(values) < 256 else "std::uint16_t"
    per_line = 96 // (len(str(max(values))) + 2)
    out = ["const %s %s[%d] = {" % (kind, name, len(values))]
    for i in range(0, len(values), per_line):
        out.append("    " + ", ".join(str(v) for v in values[i:i + per_line]) + ",")
    out.append("};")
    return out


def generate(ucd):
    path = os.path.join(ucd, "UnicodeData.txt")
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    version = unicode_version(ucd) or "unknown"
    table = read_records(path)

    records, ids = {}, []
    unassigned = ("Cn", 0, -1, 0, 0)
    records[unassigned] = 0
    for r in table:
        ids.append(records.setdefault(r, len(records)))
    if len(records) > 256:
        sys.exit("charkind-table: %d distinct records do not fit one byte" % len(records))
    size, shift2, shift3, stage1, stage2, stage3 = layout(ids)

    # The lookup as KwCharKind.cpp does it, over every code point.
    mask2, mask3 = (1 << shift2) - 1, (1 << shift3) - 1
    for c in range(LAST + 1):
        i1 = stage1[c >> (shift2 + shift3)]
        i2 = stage2[(i1 << shift2) + ((c >> shift3) & mask2)]
        if stage3[(i2 << shift3) + (c & mask3)] != ids[c]:
            sys.exit("charkind-table: the layout loses U+%04X" % c)

    by_id = sorted(records.items(), key=lambda item: item[1])
    record_bytes = 12 * len(by_id)
    out = [
        "// The character table of core/KwCharKind.cpp: category, letter, decimal digit, printable",
        "// and simple case mappings of every code point.",
        "//",
        "// Source: the Unicode Character Database, version %s, UnicodeData.txt" % version,
        "// (https://www.unicode.org/Public/%s/ucd/UnicodeData.txt, as Debian's package" % version,
        "// unicode-data installs it), SHA-256",
        "// %s." % digest,
        "//",
        "// Generated by tools/charkind-table.py: do not edit; run it again (tools/setup.sh unicode",
        "// installs its input). %d records, indexes of %d + %d + %d bytes: %d bytes in all." % (
            len(by_id), len(stage1) * width(max(stage1) + 1),
            len(stage2) * width(max(stage2) + 1), len(stage3), size + record_bytes),
        "",
        "constexpr char kUnicodeVersion[] = \"%s\";" % version,
        "constexpr int kShift2 = %d;  // code points per stage-2 block: 2^(kShift2 + kShift3)" % shift2,
        "constexpr int kShift3 = %d;  // code points per stage-3 block: 2^kShift3" % shift3,
        "constexpr unsigned kUnassigned = 0;  // the record of unassigned code points",
        "",
        "// {category, flags, digit value, upper case - c, lower case - c}",
        "const KwCharRecord g_kindRecords[%d] = {" % len(by_id),
    ]
    names = {FLAG_LETTER: "kLetter", FLAG_DIGIT: "kDigit", FLAG_PRINTABLE: "kPrintable"}
    for (cat, flags, digit, up, low), i in by_id:
        flag_text = " | ".join(names[f] for f in sorted(names) if flags & f) or "0"
        out.append("    {Category%s, %s, %d, %d, %d},  // %d" % (cat, flag_text, digit, up, low, i))
    out.append("};")
    out.append("")
    out += array("g_kindStage1", stage1)
    out.append("")
    out += array("g_kindStage2", stage2)
    out.append("")
    out += array("g_kindStage3", stage3)
    return "\n".join(out) + "\n", version


def recorded_version(path):
    try:
        with open(path, encoding="utf-8") as f:
            m = re.search(r'kUnicodeVersion\[\] = "([^"]*)"', f.read())
            return m.group(1) if m else None
    except OSError:
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--ucd", default="/usr/share/unicode")
    parser.add_argument("--output", default=os.path.join(ROOT, "core", "KwCharKindTable.inc"))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()

    source = os.path.join(args.ucd, "UnicodeData.txt")
    if not os.path.isfile(source):
        why = "%s is not installed (tools/setup.sh unicode installs it)" % source
        if args.check:
            print("skipped: " + why)
            return SKIP
        sys.exit("charkind-table: " + why)

    if args.check:
        installed, committed = unicode_version(args.ucd), recorded_version(args.output)
        if installed != committed:
            print("skipped: the installed database is Unicode %s, %s was made from %s; running "
                  "tools/charkind-table.py moves it to %s" % (installed, args.output, committed,
                                                              installed))
            return SKIP
        text, _ = generate(args.ucd)
        with tempfile.TemporaryDirectory() as tmp:
            fresh = os.path.join(tmp, "KwCharKindTable.inc")
            with open(fresh, "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
            with open(fresh, encoding="utf-8") as a, open(args.output, encoding="utf-8") as b:
                same = a.read() == b.read()
        if not same:
            print("%s is not what tools/charkind-table.py makes of %s: run it and commit the "
                  "result" % (args.output, source))
            return 1
        print("%s is current (Unicode %s)" % (args.output, installed))
        return 0

    text, version = generate(args.ucd)
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print("charkind-table: wrote %s (Unicode %s)" % (args.output, version))
    return 0


if __name__ == "__main__":
    sys.exit(main())
