// The stand-in browser. ShellExecute of an http(s) URL under Wine runs the
// command registered under HKLM\Software\Classes\<scheme>\shell\open\command;
// pointing it at the recorder turns every browser launch into a line of
// C:\vantisk-launches.log holding exactly the argument the browser was given.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vt {

inline constexpr char kLaunchLog[] = "C:\\vantisk-launches.log";

// Makes `exe` (a Windows path) the handler of http and https URLs, run with
// the URL as its one argument.
bool RegisterBrowser(const std::string& exe);
bool RegisterRecorderAsBrowser();
// Removes the open verb of http and https: URLs then have no handler at all.
bool UnregisterBrowser();

// One entry per recorder launch, oldest first. A line still being written is
// not returned.
std::vector<std::string> Launches();
bool ClearLaunches();
// Waits until at least `count` launches were logged; returns the log either way.
std::vector<std::string> WaitForLaunches(size_t count, DWORD timeoutMs);

}  // namespace vt
