#include "hotkeys/sub_class.h"

namespace mSubClass {

WNDPROC PrevWndProc = nullptr;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_HOTKEY) return CallWindowProcW(PrevWndProc, hWnd, message, wParam, lParam);
  // A hotkey message is handled here and never passed on.
  RunHotkey(wParam);
  return 0;
}

}  // namespace mSubClass
