// The kinds of control a form is made of (their base, Control, is the form's
// own: toolkit/form.h). Changing a control's state from code raises the same
// event as the user's action would.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/form.h"

namespace tk {

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
  bool IsDefault() const override { return role_ == Role::Default || role_ == Role::DefaultAndCancel; }
  bool IsCancel() const override { return role_ == Role::Cancel || role_ == Role::DefaultAndCancel; }

 protected:
  const wchar_t* WindowClass() const override { return L"BUTTON"; }
  DWORD Style() const override;
  void OnCommand(WORD code) override;
  void OnDialogKey() override { Click(); }

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

}  // namespace tk
