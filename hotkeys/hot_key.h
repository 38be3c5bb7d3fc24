// Registration of the program's global hotkeys. Ids are handed out in
// registration order from 1.
#pragma once

#include <windows.h>

namespace mHotKey {

// How many ids were handed out since the last RemoveAllHotKeys.
extern int HotKeyCount;

// Registers the next id for `keyCode` with `modifiers` and returns what
// RegisterHotKey returned. The id is used up even when the registration fails.
// A key code of 0 names no key: the id is used up and nothing is registered.
BOOL AddHotKey(HWND hWnd, UINT modifiers, UINT keyCode);

// Unregisters ids 1 to HotKeyCount and starts counting again.
void RemoveAllHotKeys(HWND hWnd);

}  // namespace mHotKey
