// Punycode (RFC 3492) for one label, without the "xn--" prefix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantisk {

// The ASCII form of `label`: its basic (ASCII) code points, then, after a
// "-" when there were any, the encoded rest in lower-case digits. Nothing
// when the arithmetic would overflow.
std::optional<std::string> PunycodeEncode(std::u32string_view label);

// The code points `encoded` stands for; digits are read in either case and
// basic code points are kept as written. Nothing for a non-ASCII byte, a bad
// digit, a cut-off number, an overflow or a result outside Unicode's scalar
// values.
std::optional<std::u32string> PunycodeDecode(std::string_view encoded);

}  // namespace vantisk
