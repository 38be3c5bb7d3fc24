// Hands an address to the shell, which opens it in the user's default browser.
#pragma once

#include <windows.h>

#include <string>

namespace ModShellExec {

// How a launch ends. A launch that is one of several in a row waits (about a
// second at most) until the started browser has taken the address, so that
// the pages reach the browser in the order they were launched. The program's
// messages are handled meanwhile, so its windows keep answering.
enum class Handover { DontWait, WaitForBrowser };

// True when the shell reports that it started the browser. Under Wine, a target
// too long for Wine's shell to take is not handed to it and gives false.
bool OpenInBrowser(HWND owner, const std::string& target, Handover handover = Handover::DontWait);

}  // namespace ModShellExec
