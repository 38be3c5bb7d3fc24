// Pop-up menus of fixed items.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tk {

struct MenuItem {
  std::string caption;  // "-" makes a separator
  std::function<void()> onClick;
};

// Shows the items at `at` (screen pixels; the mouse pointer when empty),
// left-aligned and chosen with the left button, and runs the chosen item's
// handler once the menu has closed.
void PopupMenu(HWND owner, const std::vector<MenuItem>& items, std::optional<POINT> at = std::nullopt);

}  // namespace tk
