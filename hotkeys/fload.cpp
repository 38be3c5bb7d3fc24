#include "hotkeys/fload.h"

#include <algorithm>

#include "hotkeys/hot_key.h"
#include "hotkeys/key_code.h"
#include "hotkeys/sub_class.h"
#include "toolkit/message_box.h"

fLoadWindow::fLoadWindow()
    : tk::Form({.className = vantisk::fload_ids::kClassName,
                .caption = "fLoad",
                .fixedDialog = false,
                .messageOnly = true}) {}

fLoadWindow& fLoad() {
  static fLoadWindow window;
  return window;
}

namespace {

UINT KeyCodeOf(const std::string& letterBoxText) {
  return vantisk::HotkeyKeyCode(letterBoxText, LayoutKeyScan).value_or(0);
}

}  // namespace

// A character beyond the first UTF-16 plane has no key of its own.
short LayoutKeyScan(char32_t character) {
  return character <= 0xFFFF ? VkKeyScanW(static_cast<wchar_t>(character)) : short{-1};
}

void fLoadWindow::SetHotkeys(std::vector<Hotkey> hotkeys) { hotkeys_ = std::move(hotkeys); }

void fLoadWindow::RunHotkey(WPARAM id) {
  auto hotkey = std::find_if(hotkeys_.begin(), hotkeys_.end(),
                             [id](const Hotkey& h) { return static_cast<WPARAM>(h.id) == id; });
  if (hotkey == hotkeys_.end() || !hotkey->action) return;
  // A copy: the action may hand this window new hotkeys while it runs.
  const std::function<void()> action = hotkey->action;
  // Runs inside the subclass procedure: whatever the action throws is told
  // here, not unwound into the system's code.
  try {
    action();
  } catch (...) {
    tk::ReportFailure(std::current_exception());
  }
}

void fLoadWindow::Form_Load() {
  mSubClass::PrevWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mSubClass::WindowProc)));
  for (const Hotkey& hotkey : hotkeys_) {
    mHotKey::AddHotKey(hWnd(), hotkey.id, hotkey.modifiers, KeyCodeOf(hotkey.letters));
  }
}

// The previous procedure is back in place before the window is destroyed.
void fLoadWindow::Form_Unload(bool&) {
  mHotKey::RemoveAllHotKeys(hWnd());
  SetWindowLongPtrW(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mSubClass::PrevWndProc));
}

void mSubClass::RunHotkey(WPARAM id) { fLoad().RunHotkey(id); }
