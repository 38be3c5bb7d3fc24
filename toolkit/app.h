// The program as a whole: its identity (read from its own resources, see
// toolkit/app_resources.h), the hidden window that owns every form, the
// message loop and the end.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "toolkit/failure.h"

namespace tk {

class Form;

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

// Hands control to the toolkit with `startup` as the start-up window: makes
// the hidden window that owns every form (of class `ownerClassName`), so that
// no form gets a taskbar button, loads `startup`, whose Form_Load starts the
// program, and runs the message loop. A window that cannot be made meanwhile
// is shown in a message box, and the program ends with exit code 1: it would
// have nothing to run on. Keyboard messages are offered to the form they
// belong to first (key events, tab order, default and cancel buttons).
int Run(Form& startup, const char* ownerClassName);

// The owner of every form; null before Run made it.
HWND OwnerWindow();

// Tells the user of a window that could not be made, after start-up.
void ReportWindowError(const WindowError& error);
// Tells the user of anything a handler threw (DescribeFailure); for a catch (...)
// where the system called in.
void ReportFailure(std::exception_ptr failure);

// `failure` ("The window ... could not be created") with the reason the system
// gave for its last error: ": Invalid window handle (error 1400)."
std::string WithSystemReason(std::string failure);

// Ends the process at once: no further handler runs, every window goes with it.
[[noreturn]] void EndProgram();

}  // namespace tk
