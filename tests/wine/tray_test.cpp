// The tray icon's notifications, its menu and the exit sequence.
#include "vantisk_fixture.h"

#include <shellapi.h>

namespace vt {
namespace {

namespace about_ids = vantisk::about_ids;

class TrayMenu : public VantiskTest {
 protected:
  // A later start: the settings window stays hidden.
  void StartHidden() {
    ASSERT_TRUE(SetSetting("default", "key", "S"));
    Start();
    ASSERT_FALSE(IsVisible(settings));
  }

  // The shell shows the icon a moment after it was added.
  static size_t IconsOnceShown() {
    WaitUntil([] { return !TrayIconWindows().empty(); }, 5000);
    return TrayIconWindows().size();
  }
};

TEST_F(TrayMenu, OnlyADoubleClickOrARightButtonReleaseDoesAnything) {
  StartHidden();
  for (UINT nothing : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN}) TrayNotify(nothing);
  PumpFor(500);
  EXPECT_FALSE(IsVisible(settings));
  EXPECT_EQ(FindPopupMenu(200, app.Pid()), nullptr);

  TrayNotify(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([this] { return IsVisible(settings); }, 3000));

  TrayNotify(WM_RBUTTONUP);
  HWND menu = FindPopupMenu(3000, app.Pid());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(MenuItemTexts(menu),
            (std::vector<std::string>{"About", "-", "Show", "Hide", "-", "Settings", "-", "Check with all checkers",
                                      "-", "Exit"}));
  ASSERT_TRUE(DismissPopupMenu(menu));
}

TEST_F(TrayMenu, HideHidesBothWindowsAndShowBringsThemBack) {
  Start();
  ASSERT_TRUE(SetWindowPos(monitor, nullptr, 20, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ChooseFromTrayMenu(kHide);
  EXPECT_TRUE(WaitUntil([this] { return !IsVisible(monitor) && !IsVisible(settings); }, 3000));
  EXPECT_EQ(Setting("default", "leftpos"), " 300");
  EXPECT_EQ(Setting("default", "toppos"), " 600");

  // The hotkeys stay in force while everything is hidden.
  PutOnClipboard("https://hidden.example/");
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'S'}));
  EXPECT_EQ(WaitForLaunches(1, 5000).size(), 1u);

  ChooseFromTrayMenu(kShow);
  EXPECT_TRUE(WaitUntil([this] { return IsVisible(monitor) && IsVisible(settings); }, 3000));
}

TEST_F(TrayMenu, SettingsShowsOnlyTheSettingsWindow) {
  StartHidden();
  ASSERT_TRUE(PostMessageW(monitor, WM_CLOSE, 0, 0));
  ASSERT_TRUE(WaitUntil([this] { return !IsVisible(monitor); }, 3000));
  ChooseFromTrayMenu(kSettings);
  EXPECT_TRUE(WaitUntil([this] { return IsVisible(settings); }, 3000));
  EXPECT_FALSE(IsVisible(monitor));
  // Its close box hides it: the window owns the icon and stays.
  ASSERT_TRUE(PostMessageW(settings, WM_CLOSE, 0, 0));
  EXPECT_TRUE(WaitUntil([this] { return !IsVisible(settings); }, 3000));
  EXPECT_TRUE(IsWindow(settings));
}

TEST_F(TrayMenu, ExitStoresThePositionFreesTheHotkeysAndClosesAbout) {
  StartHidden();
  ChooseFromTrayMenu(kAbout);
  ASSERT_NE(WaitForTopWindow(about_ids::kClassName, app.Pid(), 3000), nullptr);
  ASSERT_TRUE(SetWindowPos(monitor, nullptr, 60, 75, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  const size_t iconsBefore = IconsOnceShown();
  ChooseFromTrayMenu(kExit);
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_EQ(Setting("default", "leftpos"), " 900");
  EXPECT_EQ(Setting("default", "toppos"), " 1125");
  HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(RegisterHotKey(probe, 1, MOD_CONTROL | MOD_ALT, 'S')) << "the check hotkey was given back";
  UnregisterHotKey(probe, 1);
  DestroyWindow(probe);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconWindows().size() + 1 == iconsBefore; }, 3000))
      << "no dead icon stays behind";
}

TEST_F(TrayMenu, TheExitHotkeyRemovesTheIconToo) {
  StartHidden();
  const size_t iconsBefore = IconsOnceShown();
  ASSERT_GE(iconsBefore, 1u);
  ASSERT_TRUE(PressChord({VK_MENU, 'E'}));
  ASSERT_TRUE(app.WaitForExit(5000));
  EXPECT_TRUE(WaitUntil([&] { return TrayIconWindows().size() + 1 == iconsBefore; }, 3000));
}

// After the shell restarts it broadcasts "TaskbarCreated"; the program has no
// taskbar button, so it must put its icon back.
TEST_F(TrayMenu, TaskbarCreatedAddsTheIconAgain) {
  StartHidden();
  const size_t icons = IconsOnceShown();
  ASSERT_GE(icons, 1u);
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = settings;
  gone.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_TRUE(WaitUntil([&] { return TrayIconWindows().size() + 1 == icons; }, 3000));
  ASSERT_TRUE(PostMessageW(settings, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
  EXPECT_TRUE(WaitUntil([&] { return TrayIconWindows().size() == icons; }, 3000));
}

// Mouse movement over the settings window is not a tray notification, even
// at pixel columns 515 and 517.
TEST_F(TrayMenu, MovingTheMouseOverTheSettingsWindowNeverOpensTheMenu) {
  Start();
  ASSERT_TRUE(SetWindowPos(settings, HWND_TOPMOST, 0, 300, 800, 200, SWP_NOACTIVATE));
  RECT client{};
  GetClientRect(settings, &client);
  for (int x : {10, 515, 517, 600}) {
    POINT point{x, client.bottom / 2};
    ClientToScreen(settings, &point);
    ASSERT_TRUE(SetCursorPos(point.x, point.y));
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    ASSERT_EQ(SendInput(1, &move, sizeof move), 1u);
    PumpFor(100);
  }
  EXPECT_EQ(FindPopupMenu(500, app.Pid()), nullptr);
}

}  // namespace
}  // namespace vt
