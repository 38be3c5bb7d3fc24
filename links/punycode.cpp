#include "links/punycode.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "links/ascii.h"

namespace vantisk {
namespace {

// The parameters RFC 3492 section 5 sets for IDNA.
constexpr std::uint32_t kBase = 36;
constexpr std::uint32_t kTMin = 1;
constexpr std::uint32_t kTMax = 26;
constexpr std::uint32_t kSkew = 38;
constexpr std::uint32_t kDamp = 700;
constexpr std::uint32_t kInitialBias = 72;
constexpr char32_t kInitialN = 0x80;
constexpr char kDelimiter = '-';
constexpr std::uint32_t kMaxInt = std::numeric_limits<std::uint32_t>::max();

std::uint32_t Adapt(std::uint32_t delta, std::uint32_t pointCount, bool firstTime) {
  delta = firstTime ? delta / kDamp : delta / 2;
  delta += delta / pointCount;
  std::uint32_t k = 0;
  while (delta > ((kBase - kTMin) * kTMax) / 2) {
    delta /= kBase - kTMin;
    k += kBase;
  }
  return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
}

// The threshold for the digit at position k (RFC 3492 section 6.1).
std::uint32_t Threshold(std::uint32_t k, std::uint32_t bias) {
  if (k <= bias) return kTMin;
  if (k >= bias + kTMax) return kTMax;
  return k - bias;
}

char EncodeDigit(std::uint32_t digit) {
  return static_cast<char>(digit < 26 ? 'a' + digit : '0' + (digit - 26));
}

// 0-35, or kBase for a character that is no digit.
std::uint32_t DigitValue(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a');
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A');
  if (IsAsciiDigit(c)) return static_cast<std::uint32_t>(c - '0') + 26;
  return kBase;
}

// Appends `value` as a generalized variable-length integer.
void AppendNumber(std::string& out, std::uint32_t value, std::uint32_t bias) {
  for (std::uint32_t k = kBase;; k += kBase) {
    const std::uint32_t t = Threshold(k, bias);
    if (value < t) break;
    out += EncodeDigit(t + (value - t) % (kBase - t));
    value = (value - t) / (kBase - t);
  }
  out += EncodeDigit(value);
}

bool IsScalarValue(std::uint32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Counts marked positions before a position, both steps in O(log size):
// a Fenwick tree over the positions.
class PositionCounter {
 public:
  explicit PositionCounter(std::size_t size) : counts_(size + 1, 0) {}
  void Mark(std::uint32_t position) {
    for (std::size_t at = position + 1; at < counts_.size(); at += at & (~at + 1)) ++counts_[at];
  }
  std::uint32_t CountBefore(std::uint32_t position) const {
    std::uint32_t count = 0;
    for (std::size_t at = position; at > 0; at -= at & (~at + 1)) count += counts_[at];
    return count;
  }
  // The position of the (rank + 1)th unmarked one when every position starts
  // unmarked and `Mark` counts as taking a position: see PlaceInsertions.
  std::uint32_t FreePositionOfRank(std::uint32_t rank) const {
    std::size_t at = 0;
    std::size_t step = 1;
    while (step * 2 < counts_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (at + step >= counts_.size()) continue;
      const std::size_t free = step - counts_[at + step];  // unmarked positions in the step's range
      if (free <= rank) {
        at += step;
        rank -= static_cast<std::uint32_t>(free);
      }
    }
    return static_cast<std::uint32_t>(at);
  }

 private:
  std::vector<std::uint32_t> counts_;  // Fenwick sums, 1-based
};

// The decoder's output: `basic`, with each insertion (code point, index) made
// in turn into the text so far. The last insertion lands at its index among
// all the positions; an earlier one at its index among the positions the
// later ones leave free; the basic code points fill the rest in order.
std::u32string PlaceInsertions(const std::u32string& basic,
                               const std::vector<std::pair<char32_t, std::uint32_t>>& insertions) {
  std::u32string out(basic.size() + insertions.size(), U'\0');
  std::vector<bool> taken(out.size(), false);
  PositionCounter takenAt(out.size());
  for (std::size_t k = insertions.size(); k-- > 0;) {
    const std::uint32_t position = takenAt.FreePositionOfRank(insertions[k].second);
    out[position] = insertions[k].first;
    taken[position] = true;
    takenAt.Mark(position);
  }
  std::size_t next = 0;
  for (std::size_t position = 0; position < out.size(); ++position) {
    if (!taken[position]) out[position] = basic[next++];
  }
  return out;
}

}  // namespace

std::optional<std::string> PunycodeEncode(std::u32string_view label) {
  std::string out;
  for (const char32_t c : label) {
    if (c < 0x80) out += static_cast<char>(c);
  }
  const auto basicCount = static_cast<std::uint32_t>(out.size());
  if (basicCount > 0) out += kDelimiter;
  // RFC 3492's encoder passes over the label once per distinct code point,
  // counting the code points below it before each occurrence. The same counts
  // come from the occurrences in ascending order and a count of the positions
  // already handled: the basic code points, then each code point in turn.
  std::vector<std::pair<char32_t, std::uint32_t>> rest;  // code point, position
  PositionCounter handledAt(label.size());
  for (std::uint32_t position = 0; position < label.size(); ++position) {
    if (label[position] < 0x80) {
      handledAt.Mark(position);
    } else {
      rest.emplace_back(label[position], position);
    }
  }
  std::sort(rest.begin(), rest.end());
  std::uint32_t n = kInitialN;
  std::uint32_t delta = 0;
  std::uint32_t bias = kInitialBias;
  std::uint32_t handled = basicCount;
  for (std::size_t first = 0; first < rest.size();) {
    const char32_t next = rest[first].first;
    std::size_t last = first;
    while (last < rest.size() && rest[last].first == next) ++last;
    if (next - n > (kMaxInt - delta) / (handled + 1)) return std::nullopt;
    delta += (next - n) * (handled + 1);
    n = next;
    // Each occurrence adds the code points below n since the one before it.
    const std::uint32_t handledBefore = handled;
    std::uint32_t countedUpTo = 0;  // of the handled positions, how many lie before the last occurrence
    for (std::size_t i = first; i < last; ++i) {
      const std::uint32_t below = handledAt.CountBefore(rest[i].second);
      if (below - countedUpTo > kMaxInt - delta) return std::nullopt;
      delta += below - countedUpTo;
      countedUpTo = below;
      AppendNumber(out, delta, bias);
      bias = Adapt(delta, handled + 1, handled == basicCount);
      delta = 0;
      ++handled;
    }
    // The code points below n after the last occurrence, and the step to n + 1.
    if (handledBefore - countedUpTo > kMaxInt - delta) return std::nullopt;
    delta += handledBefore - countedUpTo;
    if (++delta == 0) return std::nullopt;
    ++n;
    for (std::size_t i = first; i < last; ++i) handledAt.Mark(rest[i].second);
    first = last;
  }
  return out;
}

std::optional<std::u32string> PunycodeDecode(std::string_view encoded) {
  std::u32string basic;
  const std::size_t delimiter = encoded.rfind(kDelimiter);
  const std::size_t basicEnd = delimiter == std::string_view::npos ? 0 : delimiter;
  for (const char c : encoded.substr(0, basicEnd)) {
    if (IsNonAscii(c)) return std::nullopt;
    basic += static_cast<char32_t>(c);
  }
  // RFC 3492's decoder inserts each code point into the output as it goes;
  // here the insertions are noted and placed at the end.
  std::vector<std::pair<char32_t, std::uint32_t>> insertions;  // code point, index at its insertion
  std::uint32_t n = kInitialN;
  std::uint32_t i = 0;
  std::uint32_t bias = kInitialBias;
  for (std::size_t at = basicEnd > 0 ? basicEnd + 1 : 0; at < encoded.size();) {
    const std::uint32_t oldI = i;
    std::uint32_t weight = 1;
    for (std::uint32_t k = kBase;; k += kBase) {
      if (at >= encoded.size()) return std::nullopt;
      const std::uint32_t digit = DigitValue(encoded[at++]);
      if (digit >= kBase || digit > (kMaxInt - i) / weight) return std::nullopt;
      i += digit * weight;
      const std::uint32_t t = Threshold(k, bias);
      if (digit < t) break;
      if (weight > kMaxInt / (kBase - t)) return std::nullopt;
      weight *= kBase - t;
    }
    const auto length = static_cast<std::uint32_t>(basic.size() + insertions.size()) + 1;
    bias = Adapt(i - oldI, length, oldI == 0);
    if (i / length > kMaxInt - n) return std::nullopt;
    n += i / length;
    i %= length;
    if (!IsScalarValue(n)) return std::nullopt;
    insertions.emplace_back(static_cast<char32_t>(n), i);
    ++i;
  }
  return PlaceInsertions(basic, insertions);
}

}  // namespace vantisk
