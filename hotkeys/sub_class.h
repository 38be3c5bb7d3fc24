// The hotkey window's own window procedure: hotkey messages are handled here,
// everything else goes to the procedure the window had before.
#pragma once

#include <windows.h>

namespace mSubClass {

inline constexpr WPARAM kCheckHotkeyId = 1;
inline constexpr WPARAM kExitHotkeyId = 2;

// The hotkey window's procedure before WindowProc replaced it.
extern WNDPROC PrevWndProc;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// What the two hotkeys do; the hotkey window provides them.
void RunCheckHotkey();
void RunExitHotkey();

}  // namespace mSubClass
