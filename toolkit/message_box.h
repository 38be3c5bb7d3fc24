// Modal message boxes. A box given no title shows the program's title.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

int MsgBox(HWND owner, const std::string& text, UINT flags, const std::string& title = {});

}  // namespace tk
