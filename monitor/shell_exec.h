// Hands an address to the shell, which opens it in the user's default browser.
#pragma once

#include <windows.h>

#include <string>

namespace ModShellExec {

// True when the shell reports that it started the browser.
bool OpenInBrowser(HWND owner, const std::string& target);

}  // namespace ModShellExec
