// Modal message boxes. A box given no title shows the program's title.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace tk {

int MsgBox(HWND owner, const std::string& text, UINT flags, const std::string& title = {});

// Tells the user of anything a handler threw (DescribeFailure); for a catch (...)
// where the system called in.
void ReportFailure(std::exception_ptr failure);

}  // namespace tk
