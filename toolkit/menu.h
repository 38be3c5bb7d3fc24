// Pop-up menus of fixed items.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

struct MenuItem {
  std::string caption;  // "-" makes a separator
  std::function<void()> onClick;
};

// A caption shown as written: "&" would otherwise mark the next letter as the
// item's key.
std::string PlainMenuText(std::string_view text);

// Waits (a second at most) until the keys of a hotkey chord are up, and drops
// their key messages: a menu opened from a hotkey would otherwise close at
// once when the Alt key comes up.
void ReleaseHotkeyChord();

// Shows the items at `at` (screen pixels; the mouse pointer when empty),
// left-aligned and chosen with the left button, and runs the chosen item's
// handler once the menu has closed.
void PopupMenu(HWND owner, const std::vector<MenuItem>& items, std::optional<POINT> at = std::nullopt);

}  // namespace tk
