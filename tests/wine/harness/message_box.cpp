#include "harness/message_box.h"

#include "harness/wait.h"
#include "harness/window.h"

#include <algorithm>

namespace vt {
namespace {

constexpr int kTextId = 0xFFFF;

std::string WithoutMnemonics(const std::string& caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" keeps one '&'
    plain += caption[i];
  }
  return plain;
}

bool IsIcon(HWND child) {
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  return (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
         SendTimed(child, STM_GETICON).value_or(0) != 0;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = FindWindowExW(parent, nullptr, nullptr, nullptr); child;
       child = FindWindowExW(parent, child, nullptr, nullptr)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> VisibleButtonsLeftToRight(const std::vector<HWND>& children) {
  std::vector<HWND> buttons;
  std::copy_if(children.begin(), children.end(), std::back_inserter(buttons), [](HWND child) {
    return ClassName(child) == "Button" && IsWindowVisible(child);
  });
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
  });
  return buttons;
}

// A message box has its text in one static control; a task dialog spreads
// its instruction and content over several, read top to bottom.
std::string DialogText(HWND window, const std::vector<HWND>& children) {
  if (const HWND textControl = GetDlgItem(window, kTextId)) return WindowText(textControl);
  std::string text;
  for (HWND child : children) {
    if (ClassName(child) != "Static" || !IsWindowVisible(child)) continue;
    const std::string piece = WindowText(child);
    if (!piece.empty()) text += (text.empty() ? "" : "\n") + piece;
  }
  return text;
}

// The dialog's default id where it has one (a task dialog); a message box
// marks its default button by the button's style alone.
std::string DefaultButtonCaption(HWND window, const std::vector<HWND>& buttons) {
  const LRESULT defaultId = SendTimed(window, DM_GETDEFID).value_or(0);
  if (HIWORD(defaultId) == DC_HASDEFID) {
    if (const HWND button = GetDlgItem(window, LOWORD(defaultId))) return WithoutMnemonics(WindowText(button));
  }
  for (HWND button : buttons) {
    if ((GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return WithoutMnemonics(WindowText(button));
    }
  }
  return {};
}

}  // namespace

std::optional<MessageBoxInfo> ReadMessageBox(HWND window) {
  if (ClassName(window) != "#32770") return std::nullopt;
  const std::vector<HWND> children = Children(window);
  MessageBoxInfo box;
  box.hwnd = window;
  box.title = WindowText(window);
  box.text = DialogText(window, children);
  if (box.text.empty()) return std::nullopt;
  box.hasIcon = std::any_of(children.begin(), children.end(), IsIcon);
  box.buttonWindows = VisibleButtonsLeftToRight(children);
  for (HWND button : box.buttonWindows) box.buttons.push_back(WithoutMnemonics(WindowText(button)));
  box.defaultButton = DefaultButtonCaption(window, box.buttonWindows);
  return box;
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid, DWORD timeoutMs) {
  std::optional<MessageBoxInfo> found;
  WaitUntil(
      [&] {
        for (HWND window : TopWindows(pid)) {
          if (IsWindowVisible(window) && (found = ReadMessageBox(window))) return true;
        }
        return false;
      },
      timeoutMs);
  return found;
}

bool PressMessageBoxButton(const MessageBoxInfo& box, const std::string& caption) {
  const std::string wanted = WithoutMnemonics(caption);
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    if (box.buttons[i] == wanted) return Click(box.buttonWindows[i]);
  }
  return false;
}

bool DismissMessageBox(HWND box, DWORD timeoutMs) {
  const std::optional<MessageBoxInfo> info = ReadMessageBox(box);
  if (!info) return false;
  const HWND cancel = GetDlgItem(box, IDCANCEL);
  if (cancel && IsWindowVisible(cancel)) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  } else if (!info->buttonWindows.empty()) {
    Click(info->buttonWindows.front());
  } else {
    PostMessageW(box, WM_CLOSE, 0, 0);
  }
  return WaitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs);
}

}  // namespace vt
