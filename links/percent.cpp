#include "links/percent.h"

#include "links/ascii.h"

namespace vantisk {

void AppendPercentEncoded(std::string& out, std::string_view bytes, const EncodeSet& set) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (const char c : bytes) {
    if (!set.Encodes(c)) {
      out += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
  }
}

std::string PercentEncode(std::string_view bytes, const EncodeSet& set) {
  std::string encoded;
  encoded.reserve(bytes.size());
  AppendPercentEncoded(encoded, bytes, set);
  return encoded;
}

std::string PercentDecode(std::string_view text, char escape) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == escape && i + 2 < text.size() && IsAsciiHexDigit(text[i + 1]) && IsAsciiHexDigit(text[i + 2])) {
      decoded += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace vantisk
