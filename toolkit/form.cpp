#include "toolkit/form.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/app.h"
#include "toolkit/dpi.h"
#include "toolkit/failure.h"
#include "toolkit/message_box.h"
#include "toolkit/twips.h"
#include "toolkit/wide.h"

namespace tk {
namespace {

// Each form window keeps its Form in its first extra bytes: reading them costs
// nothing, where a window property is looked up by the system at every message.
constexpr int kFormSlot = 0;

DWORD FrameStyle(const FormDesign& design) {
  if (design.messageOnly) return 0;
  return design.fixedDialog ? (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN) : WS_OVERLAPPEDWINDOW;
}

DWORD FrameExStyle(const FormDesign& design) {
  return design.fixedDialog && !design.messageOnly ? (WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT) : 0;
}

int ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

}  // namespace

Form::Form(FormDesign design) : design_(std::move(design)) {}

Form::~Form() {
  if (window_) DestroyWindow(window_);
}

Form* Form::FromHandle(HWND window) {
  // Another class's extra bytes hold something else entirely.
  if (!window || GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&StaticProc)) return nullptr;
  return reinterpret_cast<Form*>(GetWindowLongPtrW(window, kFormSlot));
}

void Form::RegisterWindowClass() const {
  const std::wstring className = Widen(design_.className);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(Instance(), className.c_str(), &windowClass)) return;  // loaded before
  windowClass.lpfnWndProc = StaticProc;
  windowClass.cbWndExtra = sizeof(Form*);
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className.c_str();
  if (!RegisterClassExW(&windowClass)) {
    throw WindowError(
        WithSystemReason("The window class \"" + std::string(design_.className) + "\" could not be registered"));
  }
}

void Form::Load() {
  if (window_) return;
  RegisterWindowClass();
  HWND parent = design_.messageOnly ? HWND_MESSAGE : OwnerWindow();
  CreateWindowExW(FrameExStyle(design_), Widen(design_.className).c_str(), Widen(design_.caption).c_str(),
                  FrameStyle(design_), CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                  nullptr, Instance(), this);
  if (!window_) {
    throw WindowError(WithSystemReason("The window \"" + design_.caption + "\" could not be created"));
  }
  dpi_ = DpiForWindow(window_);
  if (!design_.madeAtFirstShow) Furnish();
  for (Timer* timer : timers_) SetTimer(window_, timer->id_, timer->interval_, nullptr);
  Form_Load();
}

void Form::Show() {
  Load();
  if (!window_) return;
  Furnish();
  ShowWindow(window_, SW_SHOW);
}

void Form::Hide() {
  if (window_) ShowWindow(window_, SW_HIDE);
}

void Form::Unload() {
  if (!window_) return;
  bool cancel = false;
  Form_Unload(cancel);
  if (!cancel && window_) DestroyWindow(window_);
}

HWND Form::hWnd() {
  Load();
  return window_;
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Form::SetCaption(std::string_view caption) { SetWindowTextW(hWnd(), Widen(caption).c_str()); }

int Form::Left() {
  RECT rect{};
  GetWindowRect(hWnd(), &rect);
  return PixelsToTwips(rect.left, dpi_);
}

int Form::Top() {
  RECT rect{};
  GetWindowRect(hWnd(), &rect);
  return PixelsToTwips(rect.top, dpi_);
}

void Form::Move(int leftTwips, int topTwips) {
  SetWindowPos(hWnd(), nullptr, ToPixels(leftTwips), ToPixels(topTwips), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetWindowStateNormal() {
  if (IsIconic(hWnd()) || IsZoomed(window_)) ShowWindow(window_, SW_RESTORE);
}

int Form::ToPixels(int twips) const { return TwipsToPixels(twips, dpi_).value_or(0); }

// Sizes the window so that its client area is the form's size in twips, and
// puts the client area at the form's position, if it has one.
void Form::PlaceWindow(const RECT* suggested) {
  DWORD style = FrameStyle(design_);
  RECT frame{0, 0, ToPixels(design_.clientWidth), ToPixels(design_.clientHeight)};
  AdjustWindowRectForDpi(frame, style, FrameExStyle(design_), dpi_);
  RECT current{};
  GetWindowRect(window_, &current);
  POINT origin{current.left, current.top};
  if (suggested) {
    origin = {suggested->left, suggested->top};
  } else if (design_.clientPosition) {
    origin = {ToPixels(design_.clientPosition->x) + frame.left, ToPixels(design_.clientPosition->y) + frame.top};
  }
  SetWindowPos(window_, nullptr, origin.x, origin.y, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT Form::Font(const FontDesign& design) {
  auto& font = fonts_[design];
  if (!font) {
    font.reset(CreateFontW(-MulDiv(design.hundredthsOfPoint, dpi_, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, Widen(design.face).c_str()));
  }
  return font.get();
}

void Form::Furnish() {
  if (furnished_ || !window_) return;
  furnished_ = true;
  SetIcons();
  if (!design_.messageOnly) PlaceWindow(nullptr);
  CreateControls();
}

void Form::SetIcons() {
  if (!design_.iconId) return;
  icon_.reset(static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(design_.iconId), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(design_.iconId), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

// Focusable controls first, in tab order, then the labels and pictures: the
// z-order is the tab order, and text boxes drawn over a label stay on top.
void Form::CreateControls() {
  std::vector<Control*> ordered = controls_;
  std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
    if (a->DrawsOnly() != b->DrawsOnly()) return b->DrawsOnly();
    return a->design_.tabIndex < b->design_.tabIndex;
  });
  for (Control* control : ordered) {
    control->Create(window_);
    // Where the system already put the new window last, a move would only cost time.
    if (GetWindow(control->window_, GW_HWNDNEXT)) {
      SetWindowPos(control->window_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

void Form::LayOut() {
  if (!furnished_) return;
  for (Control* control : controls_) {
    RECT rect = control->PixelRect();
    MoveWindow(control->window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    SendMessageW(control->window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(control->design_.font)), TRUE);
  }
}

void Form::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  for (const Line* line : lines_) line->Draw(dc, dpi_);
  EndPaint(window_, &paint);
}

Control* Form::ControlById(int id) const {
  auto found = std::find_if(controls_.begin(), controls_.end(), [id](Control* c) { return c->Id() == id; });
  return found == controls_.end() ? nullptr : *found;
}

LRESULT Form::DefaultButtonId() const {
  for (Control* control : controls_) {
    if (control->IsDefault()) return MAKELRESULT(control->Id(), DC_HASDEFID);
  }
  return 0;
}

void Form::OnCommand(WORD id, WORD code, HWND from) {
  if (Control* control = ControlById(id); control && (from == nullptr || from == control->window_)) {
    control->OnCommand(code);
    return;
  }
  if (id != IDOK && id != IDCANCEL) return;
  // Enter and Esc from the dialog keys: the default or the cancel button.
  for (Control* control : controls_) {
    if (id == IDOK ? control->IsDefault() : control->IsCancel()) {
      control->OnDialogKey();
      return;
    }
  }
}

Control* Form::ControlByWindow(HWND window) const {
  auto found = std::find_if(controls_.begin(), controls_.end(), [window](Control* c) { return c->window_ == window; });
  return found == controls_.end() ? nullptr : *found;
}

// True when the control used the key up.
bool Form::HandleKeyDown(const MSG& message) {
  Control* control = ControlByWindow(message.hwnd);
  return control && control->OnKeyDown(static_cast<int>(message.wParam), ShiftState());
}

void Form::AfterDispatch(const MSG& message) {
  if (message.message != WM_LBUTTONUP || !message.hwnd) return;
  Form* form = FromHandle(GetAncestor(message.hwnd, GA_ROOT));
  if (Control* control = form ? form->ControlByWindow(message.hwnd) : nullptr) {
    control->OnClicked(POINT{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)});
  }
}

bool Form::PreTranslate(MSG& message) {
  if (!message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  Form* form = FromHandle(root);
  if (!form) return false;
  // A key pressed with Alt held arrives as WM_SYSKEYDOWN: Alt+Enter is Enter
  // with a shift state, like Shift+Enter and Ctrl+Enter.
  const bool usedUp =
      (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && form->HandleKeyDown(message);
  // A key event may have unloaded the form.
  if (usedUp || !IsWindow(root) || !IsWindow(message.hwnd)) return true;
  return IsDialogMessageW(root, &message) != FALSE;
}

std::optional<LRESULT> Form::OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

void Form::RestoreFocus() {
  HWND target = lastFocus_ && IsChild(window_, lastFocus_) ? lastFocus_ : GetNextDlgTabItem(window_, nullptr, FALSE);
  if (target) SetFocus(target);
}

LRESULT Form::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto handled = OnMessage(message, wParam, lParam)) return *handled;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case DM_GETDEFID:
      return DefaultButtonId();
    case WM_CONTEXTMENU:
      if (Control* control = ControlByWindow(reinterpret_cast<HWND>(wParam))) {
        control->OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      }
      break;
    case WM_TIMER:
      for (Timer* timer : timers_) {
        if (timer->id_ == wParam && timer->onTimer) timer->onTimer();
      }
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_ACTIVATE:
      // The focus leaves with the window and comes back to the same control.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) lastFocus_ = focus;
        break;
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      std::map<FontDesign, GdiObject<HFONT>> oldFonts;
      oldFonts.swap(fonts_);  // freed only after the controls took the new ones
      LayOut();
      PlaceWindow(reinterpret_cast<const RECT*>(lParam));
      InvalidateRect(window_, nullptr, TRUE);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Form::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, kFormSlot, reinterpret_cast<LONG_PTR>(form));
  }
  // Only form windows come here, the hotkey window through its subclass.
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, kFormSlot));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, kFormSlot, 0);
    form->window_ = nullptr;
    form->furnished_ = false;
    form->lastFocus_ = nullptr;
    for (Control* control : form->controls_) control->Forget();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // Nothing a handler throws may unwind into the system's code.
  try {
    return form->Proc(message, wParam, lParam);
  } catch (...) {
    ReportFailure(std::current_exception());
    return 0;
  }
}

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
