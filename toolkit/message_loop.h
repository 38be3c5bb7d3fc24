// The program's run: the start-up window's load and the message loop.
#pragma once

#include <windows.h>

namespace tk {

class Form;

// Hands control to the toolkit with `startup` as the start-up window: makes
// the hidden window that owns every form (of class `ownerClassName`), loads
// `startup`, whose Form_Load starts the program, and runs the message loop. A
// window that cannot be made meanwhile is shown in a message box, and the
// program ends with exit code 1: it would have nothing to run on. Keyboard
// messages are offered to the form they belong to first (key events, tab
// order, default and cancel buttons).
int Run(Form& startup, const char* ownerClassName);

// Handles one message taken from the queue as the message loop does: a
// keyboard message goes to its form's key handling first. For a wait that
// must keep the program answering.
void HandleMessage(MSG& message);

}  // namespace tk
