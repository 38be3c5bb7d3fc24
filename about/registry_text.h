// Turning the bytes of a registry value into the text the About window uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantisk {

// `data` is the value's buffer and `size` the data size the query reported.
// A text value may come with or without its terminating NUL: when the last
// reported byte is NUL it is dropped. A size of 0 gives an empty text.
std::string TrimRegistryText(std::string_view data, std::uint32_t size);

// "&h" and two upper-case hex digits per byte of the trimmed data, taken from
// the last byte to the first: 261 gives "&h000105", 0x12345678 "&h12345678".
std::string DwordRegistryText(std::string_view trimmed);

}  // namespace vantisk
