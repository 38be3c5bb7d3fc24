#include "hotkeys/hot_key.h"

#include <algorithm>

namespace mHotKey {

int HotKeyCount = 0;

BOOL AddHotKey(HWND hWnd, int id, UINT modifiers, UINT keyCode) {
  HotKeyCount = std::max(HotKeyCount, id);
  if (keyCode == 0) return FALSE;
  return RegisterHotKey(hWnd, id, modifiers, keyCode);
}

void RemoveAllHotKeys(HWND hWnd) {
  for (int id = 1; id <= HotKeyCount; ++id) UnregisterHotKey(hWnd, id);
  HotKeyCount = 0;
}

}  // namespace mHotKey
