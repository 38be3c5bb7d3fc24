// Real input through SendInput: it goes where a user's would (the foreground
// thread, the window under the cursor), through global hotkeys and hooks.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace vt {

// All keys down in order, then up in reverse, as one SendInput call so no
// other input can interleave: PressChord({VK_CONTROL, VK_MENU, 'S'}).
bool PressChord(std::initializer_list<WORD> virtualKeys);
bool PressKey(WORD virtualKey);

// Makes `window` the foreground window; true once it is.
bool BringToFront(HWND window, DWORD timeoutMs = 2000);

enum class MouseButton { Left, Right };
POINT CenterOf(HWND window);
// Moves the cursor to `screenPoint` and clicks there (clicks = 2: double-click).
bool ClickAt(POINT screenPoint, MouseButton button = MouseButton::Left, int clicks = 1);

// Icons of the notification area, left to right. With no tray on the X
// display, Wine shows them in its own "__winex11_standalone_tray" window
// (owned by explorer.exe), one untitled child per icon, added at the right.
// Click one with ClickAt(CenterOf(icon), ...).
std::vector<HWND> TrayIconWindows();

}  // namespace vt
