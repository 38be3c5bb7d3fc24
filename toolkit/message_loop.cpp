#include "toolkit/message_loop.h"

#include <windows.h>

#include "toolkit/app.h"
#include "toolkit/failure.h"
#include "toolkit/form.h"
#include "toolkit/message_box.h"

namespace tk {

void HandleMessage(MSG& message) {
  // Only keyboard messages need the forms' key handling; timers, paints and
  // mouse messages go straight to their windows.
  const bool keyboard = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
  if (keyboard && Form::PreTranslate(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  Form::AfterDispatch(message);
}

namespace {

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) HandleMessage(message);
  return static_cast<int>(message.wParam);
}

}  // namespace

int Run(Form& startup, const char* ownerClassName) {
  try {
    MakeOwnerWindow(ownerClassName);
    startup.Load();
  } catch (const WindowError& error) {
    MsgBox(nullptr, App().title + " could not start.\n\n" + error.what(), MB_OK | MB_ICONERROR);
    return 1;
  }
  return RunMessageLoop();
}

}  // namespace tk
