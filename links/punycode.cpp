#include "links/punycode.h"

#include <cstdint>
#include <limits>

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

}  // namespace

std::optional<std::string> PunycodeEncode(std::u32string_view label) {
  std::string out;
  for (const char32_t c : label) {
    if (c < 0x80) out += static_cast<char>(c);
  }
  const auto basicCount = static_cast<std::uint32_t>(out.size());
  if (basicCount > 0) out += kDelimiter;
  std::uint32_t n = kInitialN;
  std::uint32_t delta = 0;
  std::uint32_t bias = kInitialBias;
  for (std::uint32_t handled = basicCount; handled < label.size();) {
    std::uint32_t next = kMaxInt;
    for (const char32_t c : label) {
      if (c >= n && c < next) next = c;
    }
    if (next - n > (kMaxInt - delta) / (handled + 1)) return std::nullopt;
    delta += (next - n) * (handled + 1);
    n = next;
    for (const char32_t c : label) {
      if (c < n && ++delta == 0) return std::nullopt;
      if (c != n) continue;
      AppendNumber(out, delta, bias);
      bias = Adapt(delta, handled + 1, handled == basicCount);
      delta = 0;
      ++handled;
    }
    if (++delta == 0) return std::nullopt;
    ++n;
  }
  return out;
}

std::optional<std::u32string> PunycodeDecode(std::string_view encoded) {
  std::u32string out;
  const std::size_t delimiter = encoded.rfind(kDelimiter);
  const std::size_t basicEnd = delimiter == std::string_view::npos ? 0 : delimiter;
  for (const char c : encoded.substr(0, basicEnd)) {
    if (IsNonAscii(c)) return std::nullopt;
    out += static_cast<char32_t>(c);
  }
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
    const auto length = static_cast<std::uint32_t>(out.size()) + 1;
    bias = Adapt(i - oldI, length, oldI == 0);
    if (i / length > kMaxInt - n) return std::nullopt;
    n += i / length;
    i %= length;
    if (!IsScalarValue(n)) return std::nullopt;
    out.insert(out.begin() + i, static_cast<char32_t>(n));
    ++i;
  }
  return out;
}

}  // namespace vantisk
