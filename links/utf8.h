// UTF-8, the program's text inside: code points in and out, and shortening
// that never cuts a character in half.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantisk {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct DecodedCharacter {
  char32_t codePoint;  // U+FFFD for a malformed sequence
  std::size_t length;  // bytes taken, at least 1
};

// The character that starts at `at` (< text.size()). Overlong forms,
// surrogates and cut sequences read as U+FFFD, one byte at a time, so that
// decoding always moves on.
DecodedCharacter DecodeUtf8At(std::string_view text, std::size_t at);

void AppendUtf8(std::string& out, char32_t codePoint);

std::u32string ToCodePoints(std::string_view utf8);
std::string ToUtf8(std::u32string_view codePoints);

// True when `at` is the first byte of a character (or the end).
bool IsCharacterStart(std::string_view text, std::size_t at);

// The text itself when it has at most `maxBytes` bytes; otherwise its start,
// cut before the character that would pass the limit, and "...".
std::string Shortened(std::string_view text, std::size_t maxBytes);

}  // namespace vantisk
