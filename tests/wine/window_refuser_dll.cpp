// Injected into the program by a system-wide hook (startup_failure_test.cpp):
// refuses to let the monitor window be created, as a system out of window
// resources would.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK VantiskRefuseMonitorWindow(int code, WPARAM wParam,
                                                                             LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char name[64] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (std::strcmp(name, "VantiskMonitor") == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
