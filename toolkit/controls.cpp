#include "toolkit/controls.h"

#include "toolkit/app.h"
#include "toolkit/twips.h"
#include "toolkit/wide.h"

namespace tk {

Control::Control(Form& owner, ControlDesign design) : owner_(owner), design_(std::move(design)) {
  owner_.controls_.push_back(this);
}

HWND Control::hWnd() {
  owner_.Load();
  owner_.Furnish();
  return window_;
}

HWND Control::MadeWindow() {
  owner_.Load();
  return window_;
}

std::string Control::Text() {
  HWND window = MadeWindow();
  return window ? WindowText(window) : UnmadeText();
}

void Control::SetText(const std::string& text) {
  if (HWND window = MadeWindow()) {
    SetWindowTextW(window, Widen(text).c_str());
    return;
  }
  unmadeText_ = text;
  OnUnmadeTextSet();
}

// A window made again later starts from the design, as a new one.
void Control::Forget() {
  window_ = nullptr;
  unmadeText_.reset();
}

HFONT Control::Font() const { return owner_.Font(design_.font); }

RECT Control::PixelRect() const {
  const TwipRect& r = design_.rect;
  int left = owner_.ToPixels(r.left), top = owner_.ToPixels(r.top);
  return {left, top, left + owner_.ToPixels(r.width), top + owner_.ToPixels(r.height)};
}

void Control::Create(HWND parent) {
  RECT rect = PixelRect();
  window_ = CreateWindowExW(ExStyle(), WindowClass(), Widen(UnmadeText()).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | Style(), rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(design_.id)), Instance(), nullptr);
  unmadeText_.reset();
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
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
