// The program as a whole: its identity (read from its own resources, see
// toolkit/app_resources.h), the hidden window that owns every form, the
// system's reasons for failures and the end. toolkit/message_loop.h runs it.
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

// Makes the hidden window (of class `className`) that owns every form, so that
// no form gets a taskbar button. Once, at start-up; throws WindowError when
// the window cannot be made.
void MakeOwnerWindow(const char* className);
// The owner of every form; null before MakeOwnerWindow made it.
HWND OwnerWindow();

// `failure` ("The window ... could not be created") with the reason the system
// gave for its last error: ": Invalid window handle (error 1400)."
std::string WithSystemReason(std::string failure);

// Ends the process at once: no further handler runs, every window goes with it.
[[noreturn]] void EndProgram();

}  // namespace tk
