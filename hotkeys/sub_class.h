// The hotkey window's own window procedure: hotkey messages are handled here,
// everything else goes to the procedure the window had before.
#pragma once

#include <windows.h>

namespace mSubClass {

// The hotkey window's procedure before WindowProc replaced it.
extern WNDPROC PrevWndProc;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// What hotkey `id` does; the hotkey window provides it.
void RunHotkey(WPARAM id);

}  // namespace mSubClass
