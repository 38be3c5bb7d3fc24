#include "hotkeys/fload.h"

#include "app/form1.h"
#include "app/systray.h"
#include "hotkeys/hot_key.h"
#include "hotkeys/key_code.h"
#include "hotkeys/sub_class.h"
#include "monitor/form2.h"
#include "toolkit/app.h"

fLoadWindow::fLoadWindow()
    : tk::Form({.className = vantisk::fload_ids::kClassName, .caption = "fLoad", .fixedDialog = false}) {}

fLoadWindow& fLoad() {
  static fLoadWindow window;
  return window;
}

namespace {

UINT KeyCodeOf(const std::string& letterBoxText) {
  auto keyScan = [](char c) { return VkKeyScanA(c); };
  return vantisk::HotkeyKeyCode(letterBoxText, keyScan).value_or(0);
}

}  // namespace

void fLoadWindow::Form_Load() {
  mSubClass::PrevWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mSubClass::WindowProc)));
  mHotKey::AddHotKey(hWnd(), MOD_ALT | MOD_CONTROL, KeyCodeOf(Form1().Text2.Text()));
  mHotKey::AddHotKey(hWnd(), MOD_ALT, KeyCodeOf(Form1().Text3.Text()));
}

// The previous procedure is back in place before the window is destroyed.
void fLoadWindow::Form_Unload(bool&) {
  mHotKey::RemoveAllHotKeys(hWnd());
  SetWindowLongPtrA(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mSubClass::PrevWndProc));
}

void mSubClass::RunCheckHotkey() { Form2().Command1_Click(); }

// The exit hotkey stores the monitor window's position (its unload does) and
// ends the program.
void mSubClass::RunExitHotkey() {
  modSystray::RemoveTrayIcon();
  fLoad().Unload();
  Form1().Unload();
  Form2().Unload();
  tk::EndProgram();
}
