// A fresh Vantisk for each test: empty settings, the recorder as the browser,
// no launches logged yet. The windows are found by their class names.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "about/frm_about_ids.h"
#include "app/form1_ids.h"
#include "harness/browser.h"
#include "harness/clipboard.h"
#include "harness/input.h"
#include "harness/message_box.h"
#include "harness/popup_menu.h"
#include "harness/process.h"
#include "harness/registry.h"
#include "harness/wait.h"
#include "harness/window.h"
#include "hotkeys/fload.h"
#include "monitor/form2_ids.h"
#include "checkers/check_target.h"
#include "harness/handles.h"

namespace vt {

inline constexpr DWORD kStartTimeoutMs = 15000;

inline const std::string kChecker(vantisk::kDefaultCheckerUrl);
inline constexpr char kTooLong[] =
    "The address is too long to check: the checker URL and the address together may have at most 2048 "
    "characters.";

// The tray menu's items by position (separators count).
enum TrayItem : size_t { kAbout = 0, kShow = 2, kHide = 3, kSettings = 5, kCheckAll = 7, kExit = 9 };

// A hotkey held by "another program": a hidden window of the test process.
class HotkeyHolder {
 public:
  HotkeyHolder(UINT modifiers, UINT key)
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)),
        held_(window_ && RegisterHotKey(window_.get(), 1, modifiers, key) != FALSE) {}

  bool Held() const { return held_; }
  // Whether the hotkey reached its holder. Only WM_HOTKEY is taken from the
  // queue: a general pump would dispatch the very message awaited.
  bool Received(DWORD timeoutMs = 3000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    MSG message{};
    while (!PeekMessageW(&message, window_.get(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_HOTKEY);
    }
    return true;
  }

 private:
  vt::UniqueWindow window_;  // its hotkey goes with it
  bool held_;
};

class VantiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ClearSettings());
    ASSERT_TRUE(RegisterRecorderAsBrowser());
    ASSERT_TRUE(ClearLaunches());
  }

  void TearDown() override { app.Terminate(); }

  // Starts the program and waits until its monitor window is visible.
  void Start(const std::string& exe = VantiskExePath()) {
    ASSERT_TRUE(app.Start(exe));
    monitor = WaitForTopWindow(vantisk::form2_ids::kClassName, app.Pid(), kStartTimeoutMs);
    ASSERT_NE(monitor, nullptr) << "the monitor window did not appear";
    ASSERT_TRUE(WaitUntil([this] { return IsVisible(monitor); }, kStartTimeoutMs));
    settings = FindTopWindow(vantisk::form1_ids::kClassName, app.Pid());
    ASSERT_NE(settings, nullptr);
    // The windows answer once start-up has finished and the message loop runs.
    ASSERT_TRUE(Responds(settings, kStartTimeoutMs)) << "start-up did not finish";
    // The first icon of a session starts Wine's tray; it takes the focus for a
    // moment, which would close a menu opened before it is up.
    ASSERT_TRUE(WaitUntil([] { return !TrayIconWindows().empty(); }, kStartTimeoutMs)) << "no tray icon";
    // A window shown at start-up is activated once X has mapped it; a menu
    // opened before that would be closed by the activation.
    PumpFor(300);
  }

  // Ends the running program the hard way; what it stored stays.
  void Restart() {
    app.Terminate();
    app = VantiskProcess();
    Start();
  }

  HWND MonitorControl(int id) const { return Control(monitor, id); }
  // The settings window makes its controls when it is first shown: where it
  // has none yet, it is shown first, as the user would (a double-click on the
  // tray icon).
  HWND SettingsControl(int id) {
    if (HWND control = Control(settings, id)) return control;
    TrayNotify(WM_LBUTTONDBLCLK);
    HWND control = nullptr;
    WaitUntil([&] { return (control = Control(settings, id)) != nullptr; }, 3000);
    return control;
  }
  std::string MonitorText(int id) const { return WindowText(MonitorControl(id)); }
  // The checker list as shown; -1 when the window does not answer.
  int ListCount() const {
    return static_cast<int>(SendTimed(MonitorControl(vantisk::form2_ids::List1), LB_GETCOUNT).value_or(-1));
  }
  std::vector<std::string> ListEntries() const { return ListBoxItems(MonitorControl(vantisk::form2_ids::List1)); }

  // Types an address into the manual box and checks it.
  void CheckManually(const std::string& address) {
    ASSERT_TRUE(SetText(MonitorControl(vantisk::form2_ids::Text3), address));
    ASSERT_TRUE(Click(MonitorControl(vantisk::form2_ids::Command3)));
  }

  void ExpectAnswering() const {
    EXPECT_TRUE(Responds(monitor, 1000)) << "the monitor window does not answer";
    EXPECT_TRUE(Responds(settings, 1000)) << "the settings window does not answer";
  }

  // Waits until the clipboard text has reached the monitor window.
  void PutOnClipboard(const std::string& text) {
    ASSERT_TRUE(SetClipboardText(text));
    ASSERT_TRUE(WaitUntil([&] { return MonitorText(vantisk::form2_ids::Text1) == text; }, 3000))
        << "Text1 shows: " << MonitorText(vantisk::form2_ids::Text1);
  }

  // The message box the program shows next; fails the test when none comes.
  MessageBoxInfo ExpectMessageBox(DWORD timeoutMs = 5000) {
    std::optional<MessageBoxInfo> box = FindMessageBox(app.Pid(), timeoutMs);
    EXPECT_TRUE(box.has_value()) << "no message box appeared";
    return box.value_or(MessageBoxInfo{});
  }

  // No launch within a grace period.
  static void ExpectNoLaunch(DWORD graceMs = 700) {
    PumpFor(graceMs);
    EXPECT_TRUE(Launches().empty()) << "launched: " << Launches().front();
  }

  // Sends the settings window a notification of the tray icon, as the shell
  // does: the mouse message in lParam.
  void TrayNotify(UINT mouseMessage) const {
    ASSERT_TRUE(PostMessageW(settings, WM_APP + 1, 1, mouseMessage));
  }

  // Opens the tray menu and chooses item `index` (separators count).
  void ChooseFromTrayMenu(size_t index) {
    TrayNotify(WM_RBUTTONUP);
    HWND menu = FindPopupMenu(3000, app.Pid());
    ASSERT_NE(menu, nullptr) << "the tray menu did not open";
    ASSERT_TRUE(ChooseMenuItem(menu, index));
  }

  VantiskProcess app;
  HWND monitor = nullptr;
  HWND settings = nullptr;
};

}  // namespace vt
