// The program as a whole: its identity (read from its own resources, see
// toolkit/app_resources.h), the hidden window that owns every form, the
// message loop and the end.
#pragma once

#include <windows.h>

#include <string>

namespace tk {

struct Identity {
  std::string title;  // the string resource TK_IDS_APP_TITLE, else exeName
  int major = 0;      // the version resource's file version; 0 without one
  int minor = 0;
  int revision = 0;
  std::string modulePath;  // full path of the running executable
  std::string exeName;     // its file name without the extension
};

// Read once, at the first call.
const Identity& App();

HINSTANCE Instance();

// A hidden window that owns every form: owned windows get no taskbar button,
// and the tray icon is the program's handle for the user.
HWND OwnerWindow();

// Runs the message loop until WM_QUIT. Keyboard messages are offered to the
// form they belong to first (key events, tab order, default and cancel buttons).
int RunMessageLoop();

// Ends the process at once: no further handler runs, every window goes with it.
[[noreturn]] void EndProgram();

}  // namespace tk
