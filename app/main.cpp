// The program's entry: the settings window's load is the whole start-up.
#include <windows.h>
#include <commctrl.h>

#include "app/form1.h"
#include "app/single_instance.h"
#include "toolkit/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vantisk::SingleInstance instance;
  if (!instance.IsFirst()) {
    instance.WakeRunningInstance();
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Form1().Load();
  return tk::RunMessageLoop();
}
