#include "links/ascii.h"

#include <algorithm>

namespace vantisk {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), ToLowerAscii);
  return lower;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix) {
  return text.size() >= lowerPrefix.size() && EqualsIgnoringCase(text.substr(0, lowerPrefix.size()), lowerPrefix);
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  return text.size() == lower.size() &&
         std::equal(lower.begin(), lower.end(), text.begin(), [](char l, char c) { return ToLowerAscii(c) == l; });
}

}  // namespace vantisk
