// UTF-8 <-> UTF-16 at the Win32 boundary. The harness speaks UTF-8 in every
// std::string and calls the wide API underneath, so what a test compares does
// not depend on the code page the test process happens to run with.
#pragma once

#include <string>
#include <string_view>

namespace vt {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// "/a/b" -> "Z:\a\b": Wine maps drive Z: to the Linux root.
std::string WindowsPathFromUnix(std::string_view unixPath);

}  // namespace vt
