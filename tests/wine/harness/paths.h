// Where the programs under test live, in the form Windows programs expect.
#pragma once

#include <string>

namespace vt {

// Z:\...\Vantisk.exe, or "" in a build without the program target.
std::string VantiskExePath();
// Z:\...\recorder.exe: the stand-in browser that logs what it was asked to open.
std::string RecorderExePath();
// Z:\...\vantisk_menu_probe.dll: injected to read another process's menus.
std::string MenuProbeDllPath();

}  // namespace vt
