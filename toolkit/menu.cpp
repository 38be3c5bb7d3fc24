#include "toolkit/menu.h"

#include "toolkit/handles.h"

namespace tk {

void PopupMenu(HWND owner, const std::vector<MenuItem>& items) {
  MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].caption == "-") {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu.get(), MF_STRING, i + 1, items[i].caption.c_str());
    }
  }
  POINT pointer{};
  GetCursorPos(&pointer);
  auto chosen = static_cast<size_t>(TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, pointer.x,
      pointer.y, 0, owner, nullptr));
  // Lets the menu close properly when it was opened from the notification area.
  PostMessageA(owner, WM_NULL, 0, 0);
  if (chosen >= 1 && chosen <= items.size() && items[chosen - 1].onClick) items[chosen - 1].onClick();
}

}  // namespace tk
