// The spine end to end: start-up, the settings store, the monitor window's
// clipboard mirror, the URL check and the window position.
#include "vantisk_fixture.h"
#include "harness/text.h"

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;

class Startup : public VantiskTest {};
class ClipboardMirror : public VantiskTest {};
class UrlCheck : public VantiskTest {};
class MonitorPosition : public VantiskTest {};

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

TEST_F(Startup, FirstStartWritesTheLettersAndShowsTheInstructionScreen) {
  Start();
  EXPECT_EQ(Setting("default", "key"), "S");
  EXPECT_EQ(Setting("default", "key2"), "E");
  EXPECT_FALSE(Setting("start", "autoboot").has_value());
  EXPECT_EQ(WindowText(SettingsControl(vantisk::form1_ids::Text2)), "S");
  EXPECT_EQ(WindowText(SettingsControl(vantisk::form1_ids::Text3)), "E");
  EXPECT_EQ(SendTimed(SettingsControl(vantisk::form1_ids::Check1), BM_GETCHECK), BST_UNCHECKED);
  EXPECT_TRUE(WaitUntil([this] { return IsVisible(settings); }, 3000)) << "a first start explains the hotkeys";
  EXPECT_EQ(WindowText(settings), "Vantisk By Tessanor LTD");

  EXPECT_EQ(WindowText(monitor), "Vantisk By Tessanor LTD - Clipboard URL monitor");
  EXPECT_TRUE(IsTopmost(monitor));
  RECT rect = WindowRectOf(monitor);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(MonitorText(ids::Text2), kChecker);
  EXPECT_EQ(MonitorText(ids::Command3), "Check URL &Manually ");
}

TEST_F(Startup, LaterStartsKeepTheSettingsWindowHiddenAndUseStoredLetters) {
  ASSERT_TRUE(SetSetting("default", "key", "Qx"));
  ASSERT_TRUE(SetSetting("default", "key2", "W"));
  ASSERT_TRUE(SetSetting("start", "autoboot", "0"));
  Start();
  EXPECT_FALSE(IsVisible(settings));
  EXPECT_EQ(Control(settings, vantisk::form1_ids::Text2), nullptr) << "a hidden window's controls wait for its show";
  HWND hotkeys = FindWindowExW(HWND_MESSAGE, nullptr, Widen(vantisk::fload_ids::kClassName).c_str(), nullptr);
  EXPECT_NE(hotkeys, nullptr) << "the hotkey window is message-only";
  // The stored letters reach the boxes when the window is shown.
  EXPECT_EQ(WindowText(SettingsControl(vantisk::form1_ids::Text2)), "Qx");
  EXPECT_EQ(WindowText(SettingsControl(vantisk::form1_ids::Text3)), "W");
  // Its size comes with its first show too.
  const SIZE client = ClientSizeTwips(settings);
  EXPECT_NEAR(client.cx, 5655, 15);
  EXPECT_NEAR(client.cy, 2250, 15);
  EXPECT_EQ(SendTimed(SettingsControl(vantisk::form1_ids::Check1), BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Setting("default", "key"), "Qx") << "the letter box's whole text is saved";
  EXPECT_EQ(Setting("default", "key2"), "W");
  EXPECT_EQ(Setting("start", "autoboot"), "0") << "an unticked box at start runs nothing";
}

TEST_F(Startup, OkSavesTheLettersAndHidesTheSettingsWindow) {
  Start();
  ASSERT_TRUE(SetText(SettingsControl(vantisk::form1_ids::Text2), "K"));
  ASSERT_TRUE(SetText(SettingsControl(vantisk::form1_ids::Text3), "J"));
  ASSERT_TRUE(Click(SettingsControl(vantisk::form1_ids::Command1)));
  EXPECT_TRUE(WaitUntil([] { return Setting("default", "key") == "K"; }, 3000));
  EXPECT_EQ(Setting("default", "key2"), "J");
  EXPECT_TRUE(WaitUntil([this] { return !IsVisible(settings); }, 3000));
}

TEST_F(ClipboardMirror, Text1FollowsTheClipboardAndReplacesEdits) {
  Start();
  PutOnClipboard("https://example.com/a b");
  PutOnClipboard("second text\twith a tab");
  ASSERT_TRUE(SetText(MonitorControl(ids::Text1), "typed by the user"));
  EXPECT_TRUE(WaitUntil([this] { return MonitorText(ids::Text1) == "second text\twith a tab"; }, 3000))
      << "an edit is replaced by the clipboard at the next tick";
  PutOnClipboard("https://exämple.com/ü");
}

TEST_F(ClipboardMirror, NoTextOnTheClipboardEmptiesText1) {
  Start();
  PutOnClipboard("something");
  ASSERT_TRUE(SetClipboardBitmapOnly());
  EXPECT_TRUE(WaitUntil([this] { return MonitorText(ids::Text1).empty(); }, 3000));
  PutOnClipboard("again");
  ASSERT_TRUE(ClearClipboard());
  EXPECT_TRUE(WaitUntil([this] { return MonitorText(ids::Text1).empty(); }, 3000));
}

// Another program that holds the clipboard open must not blank Text1 or
// stall the window; the new text arrives once the clipboard is free.
TEST_F(ClipboardMirror, ABusyClipboardLeavesText1AsItWas) {
  Start();
  PutOnClipboard("before");
  {
    const HeldClipboard held("after");
    ASSERT_TRUE(held);
    PumpFor(1000);
    EXPECT_EQ(MonitorText(ids::Text1), "before");
    EXPECT_TRUE(Responds(monitor, 1000));
  }
  EXPECT_TRUE(WaitUntil([this] { return MonitorText(ids::Text1) == "after"; }, 3000));
}

TEST_F(UrlCheck, CheckUrlOpensTheCheckerWithTheAddressEncoded) {
  Start();
  PutOnClipboard("https://bad.example/?a=1&site=http://good.example#top x");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  std::vector<std::string> launches = WaitForLaunches(1, 5000);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], kChecker + "https://bad.example/%3Fa%3D1%26site%3Dhttp://good.example")
      << "the address ends at the blank, and the fragment stays behind";
}

TEST_F(UrlCheck, ATextWithoutAWebAddressIsRefusedOutsideTheTopmostBand) {
  Start();
  PutOnClipboard("http is not an address: http:/x.example");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_EQ(box.text, "Not a valid URL in clipboard");
  EXPECT_EQ(box.title, "Vantisk");
  EXPECT_EQ(box.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_FALSE(box.hasIcon);
  EXPECT_FALSE(IsTopmost(monitor)) << "the box must not hide behind the monitor window";
  ASSERT_TRUE(PressMessageBoxButton(box, "Cancel"));
  EXPECT_TRUE(WaitUntil([this] { return IsTopmost(monitor); }, 3000));
  ExpectNoLaunch();
}

TEST_F(UrlCheck, EnterInTheManualBoxChecksEvenWithShiftHeld) {
  Start();
  HWND manual = MonitorControl(ids::Text3);
  ASSERT_TRUE(SetText(manual, "ftp://example.com"));
  ASSERT_TRUE(BringToFront(monitor));
  ASSERT_TRUE(ClickAt(CenterOf(manual)));
  PumpFor(200);
  ASSERT_TRUE(PressChord({VK_SHIFT, VK_RETURN}));
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_EQ(box.text, "Not a valid URL to check manually!");
  ASSERT_TRUE(DismissMessageBox(box.hwnd));

  ASSERT_TRUE(SetText(manual, "http://typed.example/"));
  ASSERT_TRUE(BringToFront(monitor));
  ASSERT_TRUE(ClickAt(CenterOf(manual)));
  PumpFor(200);
  ASSERT_TRUE(PressKey(VK_RETURN));
  std::vector<std::string> launches = WaitForLaunches(1, 5000);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], kChecker + "http://typed.example/");

  // Alt+Enter arrives as a system key; it is Enter all the same.
  ASSERT_TRUE(PressChord({VK_MENU, VK_RETURN}));
  EXPECT_EQ(WaitForLaunches(2, 5000).size(), 2u) << "Alt+Enter checks too";
}

TEST_F(UrlCheck, AnEmptySelectedCheckerOpensTheAddressAlone) {
  ASSERT_TRUE(SetSetting("default", "selectedchecker", ""));
  Start();
  PutOnClipboard("https://example.com/page?q=1");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  std::vector<std::string> launches = WaitForLaunches(1, 5000);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], "https://example.com/page?q=1");
}

// Text that merely contains "http" is never run as a program or opened from
// a share, whatever the checker.
TEST_F(UrlCheck, UnsafeAddressesLaunchNothing) {
  ASSERT_TRUE(SetSetting("default", "selectedchecker", ""));
  Start();
  for (const char* address : {"calc.exe http", "\\\\host\\share\\tool.exe http", "file:///C:/Windows/ http",
                              "javascript:alert(1)//http"}) {
    SCOPED_TRACE(address);
    ASSERT_TRUE(SetText(MonitorControl(ids::Text3), address));
    ASSERT_TRUE(Click(MonitorControl(ids::Command3)));
    MessageBoxInfo box = ExpectMessageBox();
    EXPECT_EQ(box.text, "Not a valid URL to check manually!");
    ASSERT_TRUE(DismissMessageBox(box.hwnd));
  }
  ExpectNoLaunch();
  // What follows the address in the text never reaches the browser.
  CheckManually("https://x.example/\" --new-window http");
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{"https://x.example/"});
}

TEST_F(UrlCheck, ACheckerThatIsNotAWebAddressIsNamedInTheMessage) {
  ASSERT_TRUE(SetSetting("default", "selectedchecker", "file:///C:/"));
  Start();
  ASSERT_TRUE(SetText(MonitorControl(ids::Text3), "https://example.com/"));
  ASSERT_TRUE(Click(MonitorControl(ids::Command3)));
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_NE(box.text.find("file:///C:/"), std::string::npos) << box.text;
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  ExpectNoLaunch();
}

TEST_F(MonitorPosition, TheCloseBoxHidesAndStoresThePositionWhichARestartRestores) {
  Start();
  ASSERT_TRUE(SetText(MonitorControl(ids::Text3), "kept while hidden"));
  ASSERT_TRUE(SetWindowPos(monitor, nullptr, -10, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(PostMessageW(monitor, WM_CLOSE, 0, 0));
  ASSERT_TRUE(WaitUntil([this] { return !IsVisible(monitor); }, 3000));
  EXPECT_TRUE(IsWindow(monitor)) << "closing hides the window, it is not destroyed";
  EXPECT_EQ(Setting("default", "leftpos"), "-150");
  EXPECT_EQ(Setting("default", "toppos"), " 3000");
  EXPECT_EQ(MonitorText(ids::Text3), "kept while hidden");

  Restart();
  RECT rect = WindowRectOf(monitor);
  EXPECT_EQ(rect.left, -10);
  EXPECT_EQ(rect.top, 200);
}

TEST_F(MonitorPosition, APositionOutOfSightComesBackOntoTheScreen) {
  for (const char* stored : {"1e30", "-1e30", "NaN", "99999999", "-50000"}) {
    SCOPED_TRACE(stored);
    ASSERT_TRUE(SetSetting("default", "leftpos", stored));
    ASSERT_TRUE(SetSetting("default", "toppos", stored));
    Restart();
    RECT rect = WindowRectOf(monitor);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, screenWidth);
    EXPECT_LE(rect.bottom, screenHeight);
  }
}

}  // namespace
}  // namespace vt
