// Unicode Normalization Form C (UAX #15): canonical decomposition, canonical
// ordering and canonical composition, Hangul by formula. Meant for short
// text such as a domain name.
#pragma once

#include <string>
#include <string_view>

namespace vantisk {

std::u32string ToNfc(std::u32string_view text);

}  // namespace vantisk
