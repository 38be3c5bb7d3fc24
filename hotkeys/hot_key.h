// Registration of the program's global hotkeys under the ids their owner
// chooses, counted from 1.
#pragma once

#include <windows.h>

namespace mHotKey {

// The highest id registered since the last RemoveAllHotKeys.
extern int HotKeyCount;

// Registers `id` (1 or more) for `keyCode` with `modifiers` and returns what
// RegisterHotKey returned. A key code of 0 names no key: nothing is registered,
// but the id still counts, so the other hotkeys keep theirs.
BOOL AddHotKey(HWND hWnd, int id, UINT modifiers, UINT keyCode);

// Unregisters ids 1 to HotKeyCount and starts counting again.
void RemoveAllHotKeys(HWND hWnd);

}  // namespace mHotKey
