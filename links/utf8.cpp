#include "links/utf8.h"

namespace vantisk {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

DecodedCharacter DecodeUtf8At(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return {kReplacementCharacter, 1};
  }
  if (text.size() - at < length) return {kReplacementCharacter, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (!IsContinuation(byte)) return {kReplacementCharacter, 1};
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return {kReplacementCharacter, 1};
  }
  return {value, length};
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::u32string ToCodePoints(std::string_view utf8) {
  std::u32string codePoints;
  codePoints.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const DecodedCharacter decoded = DecodeUtf8At(utf8, at);
    codePoints += decoded.codePoint;
    at += decoded.length;
  }
  return codePoints;
}

std::string ToUtf8(std::u32string_view codePoints) {
  std::string utf8;
  utf8.reserve(codePoints.size());
  for (const char32_t c : codePoints) AppendUtf8(utf8, c);
  return utf8;
}

bool IsCharacterStart(std::string_view text, std::size_t at) {
  return at >= text.size() || !IsContinuation(static_cast<unsigned char>(text[at]));
}

std::string Shortened(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t cut = maxBytes;
  while (cut > 0 && !IsCharacterStart(text, cut)) --cut;
  return std::string(text.substr(0, cut)) + "...";
}

}  // namespace vantisk
