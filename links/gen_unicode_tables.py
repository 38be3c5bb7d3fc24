#!/usr/bin/env python3
"""Writes the Unicode tables of the international-name code as a C++ include.

Inputs are Unicode's own data files as Debian ships them (unicode-data) and
the UTS #46 mapping table that python3-idna ships as a Python file of tuples,
read here as data. Every table is a sorted array of range starts, searched
with a binary search; a range runs to the next start. Property tables pack
`start << 8 | value` into one 32-bit word.

Usage: gen_unicode_tables.py OUTPUT UTS46DATA UNICODEDATA COMPOSITIONEXCLUSIONS
                             ARABICSHAPING SCRIPTS
"""

import ast
import sys

# The UTS #46 statuses the C++ side tells apart (see kUts46* in the output).
# "Shifted" is a run of mapped code points that map one-to-one onto the run
# that starts with the blob's single code point ("A".."Z" onto "a".."z").
UTS46_STATUSES = ["valid", "mapped", "shifted", "deviation", "disallowed", "ignored"]

BIDI_CLASSES = ["L", "R", "AL", "EN", "ES", "ET", "AN", "CS", "NSM", "BN", "B", "S",
                "WS", "ON", "LRE", "LRO", "RLE", "RLO", "PDF", "LRI", "RLI", "FSI", "PDI"]

JOINING_TYPES = ["U", "L", "R", "D", "T", "C"]

# Scripts the C++ side names; every other script gets a number of its own.
NAMED_SCRIPTS = ["Unknown", "Common", "Inherited", "Han", "Hiragana", "Katakana", "Hangul"]

MAX_CODE_POINT = 0x10FFFF


def read_uts46_rows(path):
    """The (code point, status[, mapping]) tuples of the data file, in order."""
    tree = ast.parse(open(path, encoding="utf-8").read())
    rows = []
    for node in tree.body:
        if isinstance(node, ast.FunctionDef) and node.name.startswith("_seg_"):
            rows += ast.literal_eval(node.body[-1].value)
    return rows


def uts46_ranges(rows):
    """(start, status, mapping) with UseSTD3ASCIIRules=false folded in."""
    names = {"V": "valid", "M": "mapped", "D": "deviation", "X": "disallowed", "I": "ignored"}
    ranges = []
    for row in rows:
        start, code = row[0], row[1]
        mapping = row[2] if len(row) > 2 else ""
        if code == "3":  # disallowed_STD3_valid / disallowed_STD3_mapped
            status = "mapped" if len(row) > 2 else "valid"
        else:
            status = names[code]
        if status != "mapped":
            mapping = ""
        if ranges and ranges[-1][1:] == (status, mapping):
            continue  # "disallowed_STD3_valid" next to "valid", for one
        ranges.append((start, status, mapping))
    return merge_shifted(ranges)


def merge_shifted(ranges):
    """Joins runs of one-code-point ranges mapped onto consecutive targets."""
    merged = []
    for i, (start, status, mapping) in enumerate(ranges):
        end = ranges[i + 1][0] if i + 1 < len(ranges) else MAX_CODE_POINT + 1
        single = status == "mapped" and len(mapping) == 1 and end == start + 1
        if single and merged:
            prev_start, prev_status, prev_mapping, prev_end = merged[-1]
            if (prev_status in ("mapped", "shifted") and len(prev_mapping) == 1
                    and prev_end == start and prev_end - prev_start == ord(mapping) - ord(prev_mapping)
                    and (prev_status == "shifted" or prev_end == prev_start + 1)):
                merged[-1] = (prev_start, "shifted", prev_mapping, end)
                continue
        merged.append((start, status, mapping, end))
    return [(start, status, mapping) for start, status, mapping, _ in merged]


class Blob:
    """UTF-8 strings in one byte array; a string already in it is reused."""

    def __init__(self):
        self.data = bytearray()

    def add(self, text):
        encoded = text.encode("utf-8")
        found = self.data.find(encoded)
        if found >= 0:
            return found
        self.data += encoded
        return len(self.data) - len(encoded)


def data_lines(path):
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if line:
            yield [field.strip() for field in line.split(";")]


def code_point_range(field):
    if ".." in field:
        first, last = field.split("..")
        return int(first, 16), int(last, 16)
    return int(field, 16), int(field, 16)


def read_unicode_data(path):
    """Per code point: (general category, combining class, bidi class, decomposition)."""
    properties = {}
    range_first = None
    for fields in data_lines(path):
        code_point = int(fields[0], 16)
        values = (fields[2], int(fields[3]), fields[4], fields[5])
        if fields[1].endswith(", First>"):
            range_first = code_point
            continue
        first = range_first if fields[1].endswith(", Last>") else code_point
        range_first = None
        for c in range(first, code_point + 1):
            properties[c] = values
    return properties


def range_table(values, default):
    """`start << 8 | value` words for a code point -> small int dictionary."""
    words = []
    current = None
    for c in range(MAX_CODE_POINT + 1):
        value = values.get(c, default)
        if value != current:
            words.append(c << 8 | value)
            current = value
    return words


def joining_types(shaping_path, unicode_data):
    """ArabicShaping's types; unlisted Mn, Me and Cf are T (the file says so)."""
    types = {c: JOINING_TYPES.index("T") for c, p in unicode_data.items() if p[0] in ("Mn", "Me", "Cf")}
    for fields in data_lines(shaping_path):
        types[int(fields[0], 16)] = JOINING_TYPES.index(fields[2])
    return types


def scripts(scripts_path):
    names = list(NAMED_SCRIPTS)
    values = {}
    for fields in data_lines(scripts_path):
        first, last = code_point_range(fields[0])
        if fields[1] not in names:
            names.append(fields[1])
        for c in range(first, last + 1):
            values[c] = names.index(fields[1])
    if len(names) > 256:
        sys.exit("more scripts than fit a byte")
    return values


def decompositions(unicode_data, exclusions_path):
    """Canonical pairs sorted by code point, and which of them compose back."""
    excluded = set()
    for fields in data_lines(exclusions_path):
        first, last = code_point_range(fields[0])
        excluded.update(range(first, last + 1))
    pairs = []
    for c, (_, combining_class, _, decomposition) in sorted(unicode_data.items()):
        if not decomposition or decomposition.startswith("<"):
            continue
        parts = [int(part, 16) for part in decomposition.split()]
        if len(parts) > 2:
            sys.exit("canonical decomposition of U+%04X is longer than two" % c)
        first_class = unicode_data.get(parts[0], ("", 0))[1]
        composes = (len(parts) == 2 and c not in excluded and combining_class == 0 and first_class == 0)
        pairs.append((c, parts[0], parts[1] if len(parts) == 2 else 0, composes))
    return pairs


def c_array(kind, name, values, per_line=8):
    lines = ["inline constexpr %s %s[] = {" % (kind, name)]
    for i in range(0, len(values), per_line):
        lines.append("    " + ", ".join(values[i:i + per_line]) + ",")
    lines.append("};")
    return "\n".join(lines)


def c_string(name, data, per_line=20):
    """Bytes as a string literal of three-digit octal escapes (never ambiguous)."""
    lines = ["inline constexpr char %s[] =" % name, '    ""']
    for i in range(0, len(data), per_line):
        lines.append('    "' + "".join("\\%03o" % b for b in data[i:i + per_line]) + '"')
    return "\n".join(lines) + ";"


def hex_words(words):
    return ["0x%08X" % w for w in words]


def main(argv):
    if len(argv) != 7:
        sys.exit(__doc__)
    output, uts46_path, unicode_data_path, exclusions_path, shaping_path, scripts_path = argv[1:]
    unicode_data = read_unicode_data(unicode_data_path)

    blob = Blob()
    uts46_keys = []
    uts46_offsets = []
    for start, status, mapping in uts46_ranges(read_uts46_rows(uts46_path)):
        offset = blob.add(mapping) if mapping else 0
        length = len(mapping.encode("utf-8"))
        if length > 255:
            sys.exit("mapping of U+%04X is too long" % start)
        uts46_keys.append(start << 11 | UTS46_STATUSES.index(status) << 8 | length)
        uts46_offsets.append(offset)
    if len(blob.data) > 0xFFFF:
        sys.exit("mapping blob does not fit 16-bit offsets")

    pairs = decompositions(unicode_data, exclusions_path)
    composing = sorted((i for i, p in enumerate(pairs) if p[3]), key=lambda i: (pairs[i][1], pairs[i][2]))

    ccc = range_table({c: p[1] for c, p in unicode_data.items()}, 0)
    bidi = range_table({c: BIDI_CLASSES.index(p[2]) for c, p in unicode_data.items()}, 0)
    marks = range_table({c: 1 for c, p in unicode_data.items() if p[0].startswith("M")}, 0)
    joining = range_table(joining_types(shaping_path, unicode_data), 0)
    script = range_table(scripts(scripts_path), 0)

    parts = ["// Generated by links/gen_unicode_tables.py from Unicode's data; do not edit.",
             "#pragma once", "#include <cstdint>", "namespace vantisk::unicode_tables {"]
    for prefix, names in (("kUts46", UTS46_STATUSES), ("kBidi", BIDI_CLASSES),
                          ("kJoining", JOINING_TYPES), ("kScript", NAMED_SCRIPTS)):
        for value, name in enumerate(names):
            parts.append("inline constexpr std::uint8_t %s%s = %d;" % (prefix, name[0].upper() + name[1:], value))
    parts.append("// start << 11 | status << 8 | mapping length in bytes")
    parts.append(c_array("std::uint32_t", "kUts46Keys", hex_words(uts46_keys)))
    parts.append(c_array("std::uint16_t", "kUts46Offsets", [str(o) for o in uts46_offsets], 16))
    parts.append(c_string("kUts46Blob", bytes(blob.data)))
    parts.append("// code point << 42 | first << 21 | second (0 for a singleton)")
    parts.append(c_array("std::uint64_t", "kDecompositions",
                         ["0x%015XULL" % (c << 42 | a << 21 | b) for c, a, b, _ in pairs], 4))
    parts.append("// indexes of kDecompositions that compose back, by (first, second)")
    parts.append(c_array("std::uint16_t", "kCompositions", [str(i) for i in composing], 16))
    for name, words in (("kCombiningClasses", ccc), ("kBidiClasses", bidi), ("kMarks", marks),
                        ("kJoiningTypes", joining), ("kScripts", script)):
        parts.append(c_array("std::uint32_t", name, hex_words(words)))
    parts.append("}  // namespace vantisk::unicode_tables\n")
    with open(output, "w", encoding="utf-8") as out:
        out.write("\n".join(parts))


if __name__ == "__main__":
    main(sys.argv)
