// ASCII character classes and case, as the URL Standard and the address
// finder use them. Bytes of 0x80 and above are never letters or digits here.
#pragma once

#include <string>
#include <string_view>

namespace vantisk {

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsAsciiAlphanumeric(char c) { return IsAsciiDigit(c) || IsAsciiAlpha(c); }
constexpr bool IsAsciiHexDigit(char c) { return IsAsciiDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
constexpr bool IsNonAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }
// https://url.spec.whatwg.org/#c0-control-or-space
constexpr bool IsC0ControlOrSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }
// https://infra.spec.whatwg.org/#ascii-tab-or-newline: what the URL parser deletes from its input.
constexpr bool IsAsciiTabOrNewline(char c) { return c == '\t' || c == '\n' || c == '\r'; }
// What a scheme holds after its first letter.
constexpr bool IsSchemeCharacter(char c) { return IsAsciiAlphanumeric(c) || c == '+' || c == '-' || c == '.'; }
// What ends the authority, the host or the port of an http or https URL ("\" is "/" there).
constexpr bool EndsSpecialAuthority(char c) { return c == '/' || c == '\\' || c == '?' || c == '#'; }
inline constexpr std::string_view kSpecialAuthorityEnds = "/\\?#";
constexpr char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// 0-15 for a hex digit, -1 for anything else.
constexpr int HexDigitValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string LowerAscii(std::string_view text);

// `lowerPrefix` is in lower case; `text` may be in any case.
bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix);
bool EqualsIgnoringCase(std::string_view text, std::string_view lower);

}  // namespace vantisk
