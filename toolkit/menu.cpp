#include "toolkit/menu.h"

#include "toolkit/handles.h"
#include "toolkit/wide.h"

namespace tk {

std::string PlainMenuText(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (const char c : text) plain.append(c == '&' ? "&&" : std::string(1, c));
  return plain;
}

void ReleaseHotkeyChord() {
  const auto anyDown = [] {
    for (const int key : {VK_MENU, VK_CONTROL, VK_SHIFT, VK_LWIN, VK_RWIN}) {
      if (GetAsyncKeyState(key) < 0) return true;
    }
    return false;
  };
  const ULONGLONG until = GetTickCount64() + 1000;
  while (anyDown() && GetTickCount64() < until) Sleep(10);
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
}

void PopupMenu(HWND owner, const std::vector<MenuItem>& items, std::optional<POINT> at) {
  MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].caption == "-") {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu.get(), MF_STRING, i + 1, Widen(items[i].caption).c_str());
    }
  }
  POINT point{};
  if (at) {
    point = *at;
  } else {
    GetCursorPos(&point);
  }
  auto chosen = static_cast<size_t>(TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, point.x, point.y, 0,
      owner, nullptr));
  // Lets the menu close properly when it was opened from the notification area.
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen >= 1 && chosen <= items.size() && items[chosen - 1].onClick) items[chosen - 1].onClick();
}

}  // namespace tk
