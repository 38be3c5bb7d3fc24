// Message boxes shown by the program: a visible "#32770" dialog whose text is
// the static control with id 0xFFFF (which tells it apart from other dialogs).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vt {

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;
  // Captions left to right with the '&' of mnemonics removed: {"Yes", "No"}.
  std::vector<std::string> buttons;
  std::vector<HWND> buttonWindows;  // same order as `buttons`
  std::string defaultButton;  // the caption of the button Enter presses (DM_GETDEFID); empty for none
  bool hasIcon = false;
};

// nullopt if `window` is not a message box.
std::optional<MessageBoxInfo> ReadMessageBox(HWND window);
// Waits for a visible message box of `pid` (0: of any process).
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid, DWORD timeoutMs);
// Clicks the button captioned `caption` (mnemonic '&' ignored); false if none.
bool PressMessageBoxButton(const MessageBoxInfo& box, const std::string& caption);
// Closes the box the way Escape would (Cancel, else its only or first button)
// and waits for it to go away.
bool DismissMessageBox(HWND box, DWORD timeoutMs = 5000);

}  // namespace vt
