// A fresh Vantisk for each test: empty settings, the recorder as the browser,
// no launches logged yet. The windows are found by their class names.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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
#include "monitor/url_check.h"

namespace vt {

inline constexpr DWORD kStartTimeoutMs = 15000;

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
  HWND SettingsControl(int id) const { return Control(settings, id); }
  std::string MonitorText(int id) const { return WindowText(MonitorControl(id)); }

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
