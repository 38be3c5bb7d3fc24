// A question whose buttons say what they do (the common controls' task
// dialog), for choices a Yes/No box cannot word.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tk {

struct TaskButton {
  int id;               // what AskWithButtons returns when it is chosen
  std::string caption;  // says what the button does
};

// Shows the question modally and returns the chosen button's id, or
// `cancelId` for Esc or the close box. The button of `cancelId` is the
// default one, which Enter chooses. Where the system has no task dialogs,
// a message box asks instead, its text saying what Yes, No and Cancel stand
// for (the first three buttons).
int AskWithButtons(HWND owner, const std::string& instruction, const std::string& content,
                   const std::vector<TaskButton>& buttons, int cancelId);

}  // namespace tk
