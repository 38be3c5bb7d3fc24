// Hands an address to the shell, which opens it in the user's default browser.
#pragma once

#include <windows.h>

#include <string>

namespace ModShellExec {

// True when the shell reports that it started the browser. Under Wine, a target
// too long for Wine's shell to take is not handed to it and gives false.
bool OpenInBrowser(HWND owner, const std::string& target);

}  // namespace ModShellExec
