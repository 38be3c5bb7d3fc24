// The one crossing between the program's text (UTF-8 in std::string) and the
// system's (UTF-16 for every ...W function). Nothing goes through the ANSI
// code page, so what the program sees does not depend on the system's.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// Malformed UTF-8 becomes U+FFFD; an unpaired surrogate likewise on the way back.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tk
