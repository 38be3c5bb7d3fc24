#include "links/unicode_properties.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <string_view>

#include "links/unicode_tables.inc"
#include "links/utf8.h"

namespace vantisk {
namespace {

namespace tables = unicode_tables;

static_assert(tables::kBidiL == static_cast<int>(BidiClass::kL) && tables::kBidiBN == static_cast<int>(BidiClass::kBN));
static_assert(tables::kJoiningU == static_cast<int>(JoiningType::kU) &&
              tables::kJoiningC == static_cast<int>(JoiningType::kC));
static_assert(tables::kScriptHangul == static_cast<int>(Script::kHangul));

// The index of the range holding `c` in a table of `start << shift | value`
// words sorted by start; the first range starts at U+0000.
std::size_t RangeIndex(std::span<const std::uint32_t> words, int shift, char32_t c) {
  const auto after = std::upper_bound(words.begin(), words.end(), c,
                                      [shift](char32_t key, std::uint32_t word) { return key < (word >> shift); });
  return static_cast<std::size_t>(std::distance(words.begin(), after)) - 1;
}

std::uint8_t RangeValue(std::span<const std::uint32_t> words, char32_t c) {
  return static_cast<std::uint8_t>(words[RangeIndex(words, 8, c)] & 0xFF);
}

struct Uts46Range {
  char32_t start;
  std::uint8_t status;  // tables::kUts46*
  std::string_view mapping;
};

Uts46Range Uts46RangeOf(char32_t c) {
  const std::size_t index = RangeIndex(tables::kUts46Keys, 11, c);
  const std::uint32_t key = tables::kUts46Keys[index];
  const std::string_view blob(tables::kUts46Blob, sizeof tables::kUts46Blob - 1);
  return {key >> 11, static_cast<std::uint8_t>((key >> 8) & 7), blob.substr(tables::kUts46Offsets[index], key & 0xFF)};
}

Uts46Status PublicStatus(std::uint8_t status) {
  switch (status) {
    case tables::kUts46Valid: return Uts46Status::kValid;
    case tables::kUts46Mapped:
    case tables::kUts46Shifted: return Uts46Status::kMapped;
    case tables::kUts46Deviation: return Uts46Status::kDeviation;
    case tables::kUts46Ignored: return Uts46Status::kIgnored;
    default: return Uts46Status::kDisallowed;
  }
}

char32_t DecompositionPart(std::uint64_t entry, int part) {
  return static_cast<char32_t>((entry >> (21 * (2 - part))) & 0x1FFFFF);
}

}  // namespace

Uts46Status Uts46StatusOf(char32_t c) { return PublicStatus(Uts46RangeOf(c).status); }

Uts46Status AppendUts46Mapping(char32_t c, std::u32string& out, Uts46Processing processing) {
  // The table maps the capital to the deviation "\u00DF"; transitional
  // processing maps it on to "ss", as it did before the capital had a mapping
  // of its own.
  constexpr char32_t kCapitalSharpS = 0x1E9E;
  if (c == kCapitalSharpS && processing == Uts46Processing::kTransitional) {
    out += U"ss";
    return Uts46Status::kMapped;
  }
  const Uts46Range range = Uts46RangeOf(c);
  const bool mapsDeviation = range.status == tables::kUts46Deviation && processing == Uts46Processing::kTransitional;
  if (range.status == tables::kUts46Shifted) {
    out += DecodeUtf8At(range.mapping, 0).codePoint + (c - range.start);
  } else if (range.status == tables::kUts46Mapped || mapsDeviation) {
    out += ToCodePoints(range.mapping);
  } else if (range.status != tables::kUts46Ignored) {
    out += c;
  }
  return PublicStatus(range.status);
}

int CanonicalCombiningClass(char32_t c) { return RangeValue(tables::kCombiningClasses, c); }

bool IsCombiningMark(char32_t c) { return RangeValue(tables::kMarks, c) != 0; }

std::pair<char32_t, char32_t> CanonicalDecomposition(char32_t c) {
  const auto& entries = tables::kDecompositions;
  const auto found = std::lower_bound(std::begin(entries), std::end(entries), c,
                                      [](std::uint64_t entry, char32_t key) { return DecompositionPart(entry, 0) < key; });
  if (found == std::end(entries) || DecompositionPart(*found, 0) != c) return {0, 0};
  return {DecompositionPart(*found, 1), DecompositionPart(*found, 2)};
}

char32_t CanonicalComposition(char32_t first, char32_t second) {
  const auto pairOf = [](std::uint16_t index) {
    const std::uint64_t entry = tables::kDecompositions[index];
    return std::pair{DecompositionPart(entry, 1), DecompositionPart(entry, 2)};
  };
  const std::pair wanted{first, second};
  const auto& indexes = tables::kCompositions;
  const auto found = std::lower_bound(std::begin(indexes), std::end(indexes), wanted,
                                      [&](std::uint16_t index, const auto& key) { return pairOf(index) < key; });
  if (found == std::end(indexes) || pairOf(*found) != wanted) return 0;
  return DecompositionPart(tables::kDecompositions[*found], 0);
}

BidiClass BidiClassOf(char32_t c) {
  const std::uint8_t value = RangeValue(tables::kBidiClasses, c);
  if (value <= tables::kBidiBN) return static_cast<BidiClass>(value);
  return value == tables::kBidiON ? BidiClass::kON : BidiClass::kOther;
}

JoiningType JoiningTypeOf(char32_t c) { return static_cast<JoiningType>(RangeValue(tables::kJoiningTypes, c)); }

Script ScriptOf(char32_t c) { return static_cast<Script>(RangeValue(tables::kScripts, c)); }

}  // namespace vantisk
