#include "toolkit/controls.h"

#include "toolkit/app.h"
#include "toolkit/wide.h"

namespace tk {

DWORD Label::Style() const { return autoSize_ ? SS_LEFTNOWORDWRAP : SS_LEFT; }

// An auto-sized label is as wide and high as one line of its text.
RECT Label::PixelRect() const {
  RECT rect = Control::PixelRect();
  if (!autoSize_) return rect;
  WindowDC screen(nullptr);
  SelectedObject font(screen.get(), Font());
  SIZE extent{};
  const std::wstring text = Widen(design_.text);
  GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  rect.right = rect.left + extent.cx;
  rect.bottom = rect.top + extent.cy;
  return rect;
}

void TextBox::OnCreated() { SendMessageW(window_, EM_SETLIMITTEXT, maxLength_, 0); }

bool TextBox::IsFull() { return static_cast<std::size_t>(GetWindowTextLengthW(hWnd())) >= maxLength_; }

// The window would have raised it for the new text.
void TextBox::OnUnmadeTextSet() {
  if (onChange) onChange();
}

void TextBox::OnCommand(WORD code) {
  if (code == EN_CHANGE && onChange) onChange();
}

bool TextBox::OnKeyDown(int keyCode, int shift) {
  if (onKeyDown) onKeyDown(keyCode, shift);
  return false;
}

DWORD Button::Style() const { return WS_TABSTOP | (IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON); }

void Button::Click() {
  if (onClick) onClick();
}

void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED) Click();
}

int CheckBox::Value() {
  HWND window = MadeWindow();
  if (!window) return unmadeValue_;
  return SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CheckBox::SetValue(int value) {
  int wanted = value == 1 ? 1 : 0;
  if (Value() == wanted) return;
  if (window_) {
    SendMessageW(window_, BM_SETCHECK, wanted ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    unmadeValue_ = wanted;
  }
  if (onClick) onClick();
}

void CheckBox::OnCreated() {
  if (unmadeValue_ == 1) SendMessageW(window_, BM_SETCHECK, BST_CHECKED, 0);
  unmadeValue_ = 0;
}

void CheckBox::Forget() {
  Control::Forget();
  unmadeValue_ = 0;
}

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

void ListBox::AddItem(std::string_view text) {
  SendMessageW(hWnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void ListBox::RemoveItem(int index) { SendMessageW(hWnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

int ListBox::ListCount() { return static_cast<int>(SendMessageW(hWnd(), LB_GETCOUNT, 0, 0)); }

bool ListBox::Selected(int index) { return SendMessageW(hWnd(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0; }

std::string ListBox::List(int index) {
  LRESULT length = SendMessageW(hWnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return Narrow(text);
}

std::optional<POINT> ListBox::SelectedEntryCorner() {
  const LRESULT selected = SendMessageW(hWnd(), LB_GETCURSEL, 0, 0);
  RECT entry{};
  if (selected == LB_ERR ||
      SendMessageW(window_, LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&entry)) == LB_ERR) {
    return std::nullopt;
  }
  POINT corner{entry.left, entry.bottom};
  ClientToScreen(window_, &corner);
  return corner;
}

bool ListBox::OnKeyDown(int keyCode, int shift) {
  if ((keyCode != VK_RETURN && keyCode != VK_SPACE) || shift != 0) return false;
  if (const std::optional<POINT> corner = SelectedEntryCorner(); corner && onClick) onClick(*corner);
  return true;
}

// Only a click on an entry counts, not one on the empty space below the last.
void ListBox::OnClicked(POINT point) {
  const LRESULT hit = SendMessageW(hWnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  if (HIWORD(hit) != 0 || !Selected(LOWORD(hit)) || !onClick) return;
  POINT pointer{};
  GetCursorPos(&pointer);
  onClick(pointer);
}

void ListBox::OnContextMenu(POINT screen) {
  if (screen.x != -1 || screen.y != -1) {
    if (onClick && SendMessageW(hWnd(), LB_GETCURSEL, 0, 0) != LB_ERR) onClick(screen);
    return;
  }
  if (const std::optional<POINT> corner = SelectedEntryCorner(); corner && onClick) onClick(*corner);
}

void Picture::OnCreated() {
  int size = MulDiv(32, owner_.Dpi(), 96);
  icon_.reset(static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(iconId_), IMAGE_ICON, size, size, 0)));
  SendMessageW(window_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
}

}  // namespace tk
