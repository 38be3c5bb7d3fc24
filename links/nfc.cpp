#include "links/nfc.h"

#include <algorithm>

#include "links/unicode_properties.h"

namespace vantisk {
namespace {

// Hangul syllables decompose and compose by formula (The Unicode Standard,
// section 3.12).
constexpr char32_t kSyllableBase = 0xAC00;
constexpr char32_t kLeadingBase = 0x1100;
constexpr char32_t kVowelBase = 0x1161;
constexpr char32_t kTrailingBase = 0x11A7;
constexpr char32_t kLeadingCount = 19;
constexpr char32_t kVowelCount = 21;
constexpr char32_t kTrailingCount = 28;
constexpr char32_t kSyllableCount = kLeadingCount * kVowelCount * kTrailingCount;

bool IsHangulSyllable(char32_t c) { return c >= kSyllableBase && c < kSyllableBase + kSyllableCount; }

void AppendDecomposed(char32_t c, std::u32string& out) {
  if (IsHangulSyllable(c)) {
    const char32_t index = c - kSyllableBase;
    out += kLeadingBase + index / (kVowelCount * kTrailingCount);
    out += kVowelBase + (index % (kVowelCount * kTrailingCount)) / kTrailingCount;
    if (index % kTrailingCount != 0) out += kTrailingBase + index % kTrailingCount;
    return;
  }
  const auto [first, second] = CanonicalDecomposition(c);
  if (first == 0) {
    out += c;
    return;
  }
  AppendDecomposed(first, out);
  if (second != 0) AppendDecomposed(second, out);
}

// Sorts each run of non-starters by combining class, keeping equal classes
// in their order.
void OrderCanonically(std::u32string& text) {
  auto runStart = text.begin();
  while (runStart != text.end()) {
    runStart = std::find_if(runStart, text.end(), [](char32_t c) { return CanonicalCombiningClass(c) != 0; });
    const auto runEnd = std::find_if(runStart, text.end(), [](char32_t c) { return CanonicalCombiningClass(c) == 0; });
    std::stable_sort(runStart, runEnd,
                     [](char32_t a, char32_t b) { return CanonicalCombiningClass(a) < CanonicalCombiningClass(b); });
    runStart = runEnd;
  }
}

char32_t Composite(char32_t first, char32_t second) {
  if (first >= kLeadingBase && first < kLeadingBase + kLeadingCount && second >= kVowelBase &&
      second < kVowelBase + kVowelCount) {
    return kSyllableBase + ((first - kLeadingBase) * kVowelCount + (second - kVowelBase)) * kTrailingCount;
  }
  if (IsHangulSyllable(first) && (first - kSyllableBase) % kTrailingCount == 0 && second > kTrailingBase &&
      second < kTrailingBase + kTrailingCount) {
    return first + (second - kTrailingBase);
  }
  return CanonicalComposition(first, second);
}

// Joins each character to the last starter before it when nothing between
// them blocks it (a character of the same or a higher class, or a starter).
void Compose(std::u32string& text) {
  if (text.empty()) return;
  std::size_t starter = 0;
  // A leading non-starter has no starter to join; 256 blocks everything.
  int lastClass = CanonicalCombiningClass(text[0]) == 0 ? 0 : 256;
  std::size_t kept = 1;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char32_t c = text[i];
    const int cClass = CanonicalCombiningClass(c);
    const char32_t composite = Composite(text[starter], c);
    if (composite != 0 && (lastClass < cClass || lastClass == 0)) {
      text[starter] = composite;
      continue;
    }
    if (cClass == 0) starter = kept;
    lastClass = cClass;
    text[kept++] = c;
  }
  text.resize(kept);
}

}  // namespace

std::u32string ToNfc(std::u32string_view text) {
  std::u32string result;
  result.reserve(text.size());
  for (const char32_t c : text) AppendDecomposed(c, result);
  OrderCanonically(result);
  Compose(result);
  return result;
}

}  // namespace vantisk
