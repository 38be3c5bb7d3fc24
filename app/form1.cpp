#include "app/form1.h"

#include "about/frm_about.h"
#include "app/single_instance.h"
#include "hotkeys/fload.h"
#include "hotkeys/key_code.h"
#include "monitor/form2.h"
#include "product.h"
#include "settings/autostart.h"
#include "settings/number_form.h"
#include "settings/settings_store.h"
#include "resources/resource.h"
#include "toolkit/app.h"
#include "toolkit/menu.h"
#include "toolkit/message_box.h"

using namespace vantisk;
namespace ids = vantisk::form1_ids;

namespace {

constexpr tk::FontDesign kLabelFont{"MS Sans Serif", 1350};
constexpr char kCheckLetterDefault[] = "S";
constexpr char kExitLetterDefault[] = "E";
// Only a letter box's first character names a key, but its whole text is kept;
// a pasted page is not.
constexpr size_t kLetterBoxLimit = 4096;

// A letter box whose first character no key types (or that is empty) gets its
// default letter back, so that a hotkey always has a key.
void EnsureTypableLetter(tk::TextBox& box, const char* defaultLetter) {
  if (!HotkeyKeyCode(box.Text(), LayoutKeyScan)) box.SetText(defaultLetter);
}

constexpr char kMachineAutostartStays[] =
    "Vantisk still starts with Windows: its entry for every user of this computer was made with "
    "administrator rights, and only an administrator can remove it.\n\n"
    "To remove it, start Vantisk as administrator and untick \"Load with windows\", or delete the value "
    "\"Vantisk\" under HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run.";

// The ids the hotkey window registers its hotkeys under.
constexpr int kCheckHotkeyId = 1;
constexpr int kExitHotkeyId = 2;
constexpr int kCheckAllHotkeyId = 3;

// A private message: real mouse moves over the window can never pass for the icon's.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;

}  // namespace

Form1Window::Form1Window()
    : tk::Form({.className = ids::kClassName,
                .caption = "Vantisk By Tessanor LTD",
                .clientWidth = 5655,
                .clientHeight = 2250,
                .iconId = IDI_PROGRAM,
                .madeAtFirstShow = true}),
      Label1(*this, {ids::Label1, "Press Ctrl+Alt+S to launch Vantisk", {240, 120, 4485, 360}, 1, kLabelFont}, true),
      Text2(*this, {ids::Text2, "G", {2075, 170, 255, 285}, 4}, kLetterBoxLimit),
      Label2(*this, {ids::Label2, "Press Alt+E to exit.", {240, 600, 2340, 360}, 0, kLabelFont}, true),
      Text3(*this, {ids::Text3, "E", {1500, 650, 255, 285}, 5}, kLetterBoxLimit),
      Check1(*this, {ids::Check1, "Load with windows", {240, 1240, 3135, 195}, 3}),
      Command1(*this, {ids::Command1, "&OK", {4300, 1240, 1215, 735}, 2}),
      trayIcon_(kTrayIconId, kTrayCallbackMessage, IDI_PROGRAM, "Vantisk by Tessanor LTD") {
  Command1.onClick = [this] { Command1_Click(); };
  Check1.onClick = [this] { Check1_Click(); };
}

Form1Window& Form1() {
  static Form1Window window;
  return window;
}

// The program's start-up sequence.
void Form1Window::Form_Load() {
  // The first load registers the letters the boxes carry from design ("G",
  // "E"); the apply below replaces them with the stored ones.
  HandHotkeysToFLoad();
  fLoad().Load();
  Hide();
  fLoad().Hide();
  Check1.SetValue(ParseNumber(GetSetting("start", "autoboot", "0")) == 1 ? 1 : 0);
  // At a first start the window is shown once, as an instruction screen.
  const bool firstStart = !ReadSetting("default", "key").has_value();
  Text2.SetText(GetSetting("default", "key", kCheckLetterDefault));
  Text3.SetText(GetSetting("default", "key2", kExitLetterDefault));
  Form2().Load();
  Form2().showLinkNotes = [this](const std::string& notes) { trayIcon_.Notify("What this link hides", notes); };
  Form2().Show();
  Command1_Click();
  trayIcon_.Add(hWnd());
  if (firstStart) Show();
}

void Form1Window::Command1_Click() {
  EnsureTypableLetter(Text2, kCheckLetterDefault);
  EnsureTypableLetter(Text3, kExitLetterDefault);
  SaveSetting("default", "key", Text2.Text());
  SaveSetting("default", "key2", Text3.Text());
  fLoad().Unload();
  HandHotkeysToFLoad();
  fLoad().Load();
  Hide();
}

// The hotkey window registers what the letter boxes hold at this moment.
void Form1Window::HandHotkeysToFLoad() {
  fLoad().SetHotkeys({
      {kCheckHotkeyId, MOD_ALT | MOD_CONTROL, Text2.Text(), [] { Form2().CheckClipboardFromHotkey(); }},
      {kExitHotkeyId, MOD_ALT, Text3.Text(), [this] { mnuExit_Click(); }},
      {kCheckAllHotkeyId, MOD_ALT | MOD_CONTROL | MOD_SHIFT, Text2.Text(), [] { Form2().CheckWithAllCheckers(); }},
  });
}

// Switching on saves the flag first and then registers; switching off
// unregisters first and then saves the flag.
void Form1Window::Check1_Click() {
  if (restoringCheck1_) return;
  if (Check1.Value() == 1) {
    SaveSetting("start", "autoboot", "1");
    modSystray::EnableAutostart("\"" + tk::App().modulePath + "\"", kProductName);
  } else if (modSystray::DisableAutostart("", kProductName)) {
    SaveSetting("start", "autoboot", "0");
  } else {
    KeepAutostartTicked();
  }
}

// The machine-wide value stays: the box and "autoboot" keep saying that the
// program starts with Windows, and the user learns how to stop it.
void Form1Window::KeepAutostartTicked() {
  restoringCheck1_ = true;
  Check1.SetValue(1);
  restoringCheck1_ = false;
  tk::MsgBox(hWnd(), kMachineAutostartStays, MB_OK | MB_ICONEXCLAMATION);
}

std::optional<LRESULT> Form1Window::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    Form_MouseMove(LOWORD(lParam));
    return 0;
  }
  if (message == ShowRunningInstanceMessage()) {
    // Started again while running: bring the monitor window into view.
    Form2().Show();
    SetForegroundWindow(Form2().hWnd());
    return 0;
  }
  if (trayIcon_.HandleTaskbarCreated(message)) return 0;
  if (message == WM_CLOSE) {
    // The window owns the tray icon and stays loaded: closing it hides it.
    Hide();
    return 0;
  }
  return std::nullopt;
}

// The tray icon's notifications; the mouse message comes in the callback's lParam.
void Form1Window::Form_MouseMove(UINT mouseMessage) {
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    SetWindowStateNormal();
    SetForegroundWindow(hWnd());
    Show();
  } else if (mouseMessage == WM_RBUTTONUP) {
    SetForegroundWindow(hWnd());
    tk::PopupMenu(hWnd(), {{"About", [this] { mnuAbout_Click(); }},
                           {"-", {}},
                           {"Show", [this] { mnuShow_Click(); }},
                           {"Hide", [this] { mnuHide_Click(); }},
                           {"-", {}},
                           {"Settings", [this] { mnuSettings_Click(); }},
                           {"-", {}},
                           {"Check with all checkers", [this] { mnuCheckAll_Click(); }},
                           {"-", {}},
                           {"Exit", [this] { mnuExit_Click(); }}});
  }
}

void Form1Window::mnuAbout_Click() { frmAbout().Show(); }

void Form1Window::mnuShow_Click() {
  Show();
  Form2().Show();
}

// The monitor window's unload stores its position and hides it.
void Form1Window::mnuHide_Click() {
  Hide();
  Form2().Unload();
}

void Form1Window::mnuSettings_Click() { Show(); }

void Form1Window::mnuCheckAll_Click() { Form2().CheckWithAllCheckers(); }

// The exit sequence, of the tray menu and the exit hotkey alike: stores the
// monitor window's position, removes the hotkeys and the tray icon, closes the
// About window and ends the process at once.
void Form1Window::mnuExit_Click() {
  Unload();          // its tray icon goes with it
  Form2().Unload();  // stores its position and only hides
  fLoad().Unload();  // the hotkeys go
  frmAbout().Unload();
  tk::EndProgram();
}

// The window goes only at the end of the program, and its tray icon with it.
void Form1Window::Form_Unload(bool&) { trayIcon_.Remove(); }
