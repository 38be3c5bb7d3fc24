#include "toolkit/controls.h"

#include "toolkit/app.h"
#include "toolkit/twips.h"

namespace tk {

Control::Control(Form& owner, ControlDesign design) : owner_(owner), design_(std::move(design)) {
  owner_.controls_.push_back(this);
}

HWND Control::hWnd() {
  owner_.Load();
  return window_;
}

std::string Control::Text() { return WindowText(hWnd()); }

void Control::SetText(const std::string& text) { SetWindowTextA(hWnd(), text.c_str()); }

HFONT Control::Font() const { return owner_.Font(design_.font); }

RECT Control::PixelRect() const {
  const TwipRect& r = design_.rect;
  int left = owner_.ToPixels(r.left), top = owner_.ToPixels(r.top);
  return {left, top, left + owner_.ToPixels(r.width), top + owner_.ToPixels(r.height)};
}

void Control::Create(HWND parent) {
  RECT rect = PixelRect();
  window_ = CreateWindowExA(ExStyle(), WindowClass(), design_.text.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | Style(), rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(design_.id)), Instance(), nullptr);
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  OnCreated();
}

DWORD Label::Style() const { return autoSize_ ? SS_LEFTNOWORDWRAP : SS_LEFT; }

// An auto-sized label is as wide and high as one line of its text.
RECT Label::PixelRect() const {
  RECT rect = Control::PixelRect();
  if (!autoSize_) return rect;
  WindowDC screen(nullptr);
  SelectedObject font(screen.get(), Font());
  SIZE extent{};
  GetTextExtentPoint32A(screen.get(), design_.text.c_str(), static_cast<int>(design_.text.size()), &extent);
  rect.right = rect.left + extent.cx;
  rect.bottom = rect.top + extent.cy;
  return rect;
}

void TextBox::OnCreated() { SendMessageA(window_, EM_SETLIMITTEXT, maxLength_, 0); }

void TextBox::OnCommand(WORD code) {
  if (code == EN_CHANGE && onChange) onChange();
}

void TextBox::OnKeyDown(int keyCode, int shift) {
  if (onKeyDown) onKeyDown(keyCode, shift);
}

DWORD Button::Style() const { return WS_TABSTOP | (IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON); }

void Button::Click() {
  if (onClick) onClick();
}

void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED) Click();
}

int CheckBox::Value() { return SendMessageA(hWnd(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }

void CheckBox::SetValue(int value) {
  int wanted = value == 1 ? 1 : 0;
  if (Value() == wanted) return;
  SendMessageA(hWnd(), BM_SETCHECK, wanted ? BST_CHECKED : BST_UNCHECKED, 0);
  if (onClick) onClick();
}

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

void ListBox::AddItem(std::string_view text) {
  SendMessageA(hWnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

void ListBox::RemoveItem(int index) { SendMessageA(hWnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

int ListBox::ListCount() { return static_cast<int>(SendMessageA(hWnd(), LB_GETCOUNT, 0, 0)); }

bool ListBox::Selected(int index) { return SendMessageA(hWnd(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0; }

std::string ListBox::List(int index) {
  LRESULT length = SendMessageA(hWnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(window_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

void ListBox::OnCommand(WORD code) {
  if (code == LBN_SELCHANGE && onClick) onClick();
}

void Picture::OnCreated() {
  int size = MulDiv(32, owner_.Dpi(), 96);
  icon_.reset(static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(iconId_), IMAGE_ICON, size, size, 0)));
  SendMessageA(window_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
}

Line::Line(Form& owner, POINT fromTwips, POINT toTwips, COLORREF colour, int widthPixels)
    : from_(fromTwips), to_(toTwips), colour_(colour), width_(widthPixels) {
  owner.lines_.push_back(this);
}

void Line::Draw(HDC dc, int dpi) const {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, MulDiv(width_, dpi, 96), colour_));
  SelectedObject selected(dc, pen.get());
  auto pixels = [dpi](LONG twips) { return TwipsToPixels(twips, dpi).value_or(0); };
  MoveToEx(dc, pixels(from_.x), pixels(from_.y), nullptr);
  LineTo(dc, pixels(to_.x), pixels(to_.y));
}

Timer::Timer(Form& owner, UINT_PTR id, UINT intervalMs) : id_(id), interval_(intervalMs) {
  owner.timers_.push_back(this);
}

}  // namespace tk
