// The program's entry: the settings window is the start-up window, and its
// load is the whole start-up.
#include <windows.h>
#include <commctrl.h>

#include "app/form1.h"
#include "app/single_instance.h"
#include "toolkit/dll_search.h"
#include "toolkit/message_loop.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all: the exe may sit in a downloads folder beside planted DLLs.
  tk::LoadDllsFromSystemFolderOnly();
  vantisk::SingleInstance instance;
  if (!instance.IsFirst()) {
    instance.WakeRunningInstance();
    return 0;
  }
  // Without the common controls the windows still work, in the system's
  // unthemed controls: nothing to stop for.
  tk::LoadCommonControls(ICC_STANDARD_CLASSES);
  return tk::Run(Form1(), "VantiskOwner");
}
