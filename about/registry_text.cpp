#include "about/registry_text.h"

#include <algorithm>

namespace vantisk {

std::string TrimRegistryText(std::string_view data, std::uint32_t size) {
  // The reported size can exceed what was actually read into the buffer.
  std::string_view reported = data.substr(0, std::min<std::size_t>(size, data.size()));
  if (!reported.empty() && reported.back() == '\0') reported.remove_suffix(1);
  return std::string(reported);
}

std::string DwordRegistryText(std::string_view trimmed) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string text = "&h";
  // The value is little-endian: its most significant byte comes last.
  for (auto byte = trimmed.rbegin(); byte != trimmed.rend(); ++byte) {
    const auto value = static_cast<unsigned char>(*byte);
    text += kHexDigits[value >> 4];
    text += kHexDigits[value & 0x0F];
  }
  return text;
}

}  // namespace vantisk
