// The controls a form is made of. Each control is a member of its form,
// declared with its layout in twips; its window exists while the form is
// loaded, or, for a form that makes its controls when first shown, from then
// on. Reading or changing a control of a form that is not loaded loads the
// form first; a text or check state set before the control's window is made
// is kept and given to the window when it is. Changing a control's state from code raises the same event
// as the user's action would.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/form.h"

namespace tk {

struct TwipRect {
  int left, top, width, height;
};

struct ControlDesign {
  int id;                  // dialog control id, 100 and up (1 and 2 are Enter and Esc)
  std::string text;
  TwipRect rect;
  int tabIndex = 0;
  FontDesign font = kDefaultFont;
};

class Control {
 public:
  Control(Form& owner, ControlDesign design);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hWnd();
  int Id() const { return design_.id; }
  std::string Text();
  void SetText(const std::string& text);

 protected:
  friend class Form;
  virtual const wchar_t* WindowClass() const = 0;
  virtual DWORD Style() const = 0;
  virtual DWORD ExStyle() const { return 0; }
  virtual bool DrawsOnly() const { return false; }  // labels and pictures: below the focusable controls
  virtual void OnCreated() {}
  virtual void OnCommand(WORD code) { (void)code; }
  // True when the key is used up: no dialog key handling follows.
  virtual bool OnKeyDown(int keyCode, int shift) { (void)keyCode; (void)shift; return false; }
  // A left click released over the control (client coordinates).
  virtual void OnClicked(POINT point) { (void)point; }
  // The context-menu key, Shift+F10 or a right click; `screen` is (-1, -1) from the keyboard.
  virtual void OnContextMenu(POINT screen) { (void)screen; }
  virtual RECT PixelRect() const;
  // A text set from code while the window is not made (TextBox: its change event).
  virtual void OnUnmadeTextSet() {}
  void Create(HWND parent);
  virtual void Forget();
  HFONT Font() const;
  // The form loaded; the control's window, or null while it is not made.
  HWND MadeWindow();
  // The text the window is made with: the last set from code, else the design's.
  const std::string& UnmadeText() const { return unmadeText_ ? *unmadeText_ : design_.text; }

  Form& owner_;
  ControlDesign design_;
  HWND window_ = nullptr;

 private:
  std::optional<std::string> unmadeText_;
};

class Label : public Control {
 public:
  // A label that sizes itself to one line of its text, or wraps within its area.
  Label(Form& owner, ControlDesign design, bool autoSize = false)
      : Control(owner, std::move(design)), autoSize_(autoSize) {}

 protected:
  const wchar_t* WindowClass() const override { return L"STATIC"; }
  DWORD Style() const override;
  bool DrawsOnly() const override { return true; }
  RECT PixelRect() const override;

 private:
  bool autoSize_;
};

class TextBox : public Control {
 public:
  // Typing and pasting stop at `maxLength` characters. Setting a text from code
  // does not: code that sets a text keeps it within the limit itself.
  TextBox(Form& owner, ControlDesign design, std::size_t maxLength)
      : Control(owner, std::move(design)), maxLength_(maxLength) {}
  std::function<void()> onChange;
  std::function<void(int keyCode, int shift)> onKeyDown;
  // True when the text has reached the limit: typing or pasting may have been cut.
  bool IsFull();

 protected:
  const wchar_t* WindowClass() const override { return L"EDIT"; }
  DWORD Style() const override { return WS_TABSTOP | ES_AUTOHSCROLL; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void OnCreated() override;
  void OnCommand(WORD code) override;
  bool OnKeyDown(int keyCode, int shift) override;
  void OnUnmadeTextSet() override;

 private:
  std::size_t maxLength_;
};

class Button : public Control {
 public:
  enum class Role { Normal, Default, Cancel, DefaultAndCancel };
  Button(Form& owner, ControlDesign design, Role role = Role::Normal)
      : Control(owner, std::move(design)), role_(role) {}
  std::function<void()> onClick;
  void Click();
  bool IsDefault() const { return role_ == Role::Default || role_ == Role::DefaultAndCancel; }
  bool IsCancel() const { return role_ == Role::Cancel || role_ == Role::DefaultAndCancel; }

 protected:
  const wchar_t* WindowClass() const override { return L"BUTTON"; }
  DWORD Style() const override;
  void OnCommand(WORD code) override;

 private:
  Role role_;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  std::function<void()> onClick;
  int Value();  // 0 unticked, 1 ticked
  void SetValue(int value);

 protected:
  const wchar_t* WindowClass() const override { return L"BUTTON"; }
  DWORD Style() const override { return WS_TABSTOP | BS_AUTOCHECKBOX; }
  void OnCreated() override;
  void OnCommand(WORD code) override;
  void Forget() override;

 private:
  int unmadeValue_ = 0;  // set from code before the window was made
};

class ListBox : public Control {
 public:
  using Control::Control;
  // Raised for the selected entry when it is clicked, on Enter or Space and on
  // the context-menu key (or Shift+F10), not when the arrow keys move the
  // selection. `at` is where a menu for it belongs (screen pixels): the mouse
  // pointer after a click, the entry itself after a key.
  std::function<void(POINT at)> onClick;
  void AddItem(std::string_view text);
  void RemoveItem(int index);
  int ListCount();
  bool Selected(int index);
  std::string List(int index);

 protected:
  const wchar_t* WindowClass() const override { return L"LISTBOX"; }
  DWORD Style() const override { return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  bool OnKeyDown(int keyCode, int shift) override;
  void OnClicked(POINT point) override;
  void OnContextMenu(POINT screen) override;

 private:
  // The selected entry's bottom-left corner on the screen; nothing without a selection.
  std::optional<POINT> SelectedEntryCorner();
};

// An icon in a sunken frame.
class Picture : public Control {
 public:
  Picture(Form& owner, ControlDesign design, WORD iconId) : Control(owner, std::move(design)), iconId_(iconId) {}

 protected:
  const wchar_t* WindowClass() const override { return L"STATIC"; }
  DWORD Style() const override { return SS_ICON | SS_CENTERIMAGE; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  bool DrawsOnly() const override { return true; }
  void OnCreated() override;

 private:
  WORD iconId_;
  IconHandle icon_;
};

// A straight line drawn on the form, in twips; its width is in pixels.
class Line {
 public:
  Line(Form& owner, POINT fromTwips, POINT toTwips, COLORREF colour, int widthPixels);
  void Draw(HDC dc, int dpi) const;

 private:
  POINT from_, to_;
  COLORREF colour_;
  int width_;
};

// Raises onTimer every `intervalMs` while its form is loaded.
class Timer {
 public:
  Timer(Form& owner, UINT_PTR id, UINT intervalMs);
  std::function<void()> onTimer;

 private:
  friend class Form;
  UINT_PTR id_;
  UINT interval_;
};

}  // namespace tk
