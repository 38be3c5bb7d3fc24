// Pop-up menus ("#32768" windows), such as the one a tray icon opens. They
// can be read and chosen from whether they belong to the test process or to
// another one (the program): see menu_probe.h for how.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vt {

struct MenuItem {
  std::string text;  // as set by the program: "&Open\tCtrl+O" stays so
  UINT id = 0;
  bool separator = false;
  bool grayed = false;
  bool checked = false;
  bool submenu = false;
  RECT rect{};  // screen coordinates
};

// A visible pop-up menu of `pid` (0: of any process), or null after timeout.
HWND FindPopupMenu(DWORD timeoutMs, DWORD pid = 0);
// nullopt if the menu could not be read.
std::optional<std::vector<MenuItem>> MenuItems(HWND popup, DWORD timeoutMs = 2000);
// Item texts, separators as "-"; empty if the menu could not be read.
std::vector<std::string> MenuItemTexts(HWND popup);
// Chooses item `index` (separators count) the way a keyboard user would and
// waits for the menu to close. False, with the menu left open, for an index
// out of range, a separator or a grayed item; false also if it did not close.
bool ChooseMenuItem(HWND popup, size_t index, DWORD timeoutMs = 3000);
// Closes the menu as Escape does, choosing nothing.
bool DismissPopupMenu(HWND popup, DWORD timeoutMs = 3000);

}  // namespace vt
