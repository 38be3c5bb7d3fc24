#include "hotkeys/hot_key.h"

namespace mHotKey {

int HotKeyCount = 0;

BOOL AddHotKey(HWND hWnd, UINT modifiers, UINT keyCode) {
  ++HotKeyCount;
  if (keyCode == 0) return FALSE;
  return RegisterHotKey(hWnd, HotKeyCount, modifiers, keyCode);
}

void RemoveAllHotKeys(HWND hWnd) {
  for (int id = 1; id <= HotKeyCount; ++id) UnregisterHotKey(hWnd, id);
  HotKeyCount = 0;
}

}  // namespace mHotKey
