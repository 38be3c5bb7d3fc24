// The global hotkeys, pressed for real with SendInput while another window
// has the focus.
#include "vantisk_fixture.h"
#include "harness/handles.h"

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;
namespace settings_ids = vantisk::form1_ids;

// A window of the test process, standing in for "another program" in front.
class OtherProgram {
 public:
  OtherProgram()
      : window_(CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 400, 400, 200, 100,
                                nullptr, nullptr, nullptr, nullptr)) {}
  bool TakeFocus() const { return BringToFront(window_.get()); }

 private:
  vt::UniqueWindow window_;
};

class Hotkeys : public VantiskTest {
 protected:
  void PressCheck(WORD letter) { ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, letter})); }
  void PressExit(WORD letter) { ASSERT_TRUE(PressChord({VK_MENU, letter})); }

  void ExpectOneCheckOf(const std::string& address) {
    std::vector<std::string> launches = WaitForLaunches(1, 5000);
    ASSERT_EQ(launches.size(), 1u) << "the check hotkey did not run the check";
    EXPECT_EQ(launches[0], kChecker + address);
    ASSERT_TRUE(ClearLaunches());
  }

  void ExpectExit() { EXPECT_TRUE(app.WaitForExit(5000)) << "the exit hotkey did not end the program"; }
  void ExpectStillRunning() {
    PumpFor(700);
    EXPECT_TRUE(app.IsRunning());
  }

  OtherProgram other;
};

TEST_F(Hotkeys, CheckHotkeyChecksTheClipboardWhileAnotherProgramIsInFront) {
  Start();
  PutOnClipboard("https://example.com/");
  ASSERT_TRUE(other.TakeFocus());
  PressCheck('S');
  ExpectOneCheckOf("https://example.com/");
  EXPECT_TRUE(app.IsRunning());
}

// A check pressed right after a copy checks what was copied, not the text
// the monitor still shows from before.
TEST_F(Hotkeys, ACheckRightAfterACopyChecksTheNewText) {
  Start();
  PutOnClipboard("https://before.example/");
  ASSERT_TRUE(other.TakeFocus());
  for (const char* copied : {"https://after.example/", "https://again.example/"}) {
    ASSERT_TRUE(SetClipboardText(copied));
    PressCheck('S');
    ExpectOneCheckOf(copied);
  }
}

TEST_F(Hotkeys, ExitHotkeyStoresThePositionAndEndsTheProgram) {
  Start();
  ASSERT_TRUE(SetWindowPos(monitor, nullptr, 30, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(other.TakeFocus());
  PressExit('E');
  ExpectExit();
  EXPECT_EQ(Setting("default", "leftpos"), " 450");
  EXPECT_EQ(Setting("default", "toppos"), " 675");
}

TEST_F(Hotkeys, NewLettersReplaceTheOldCombinations) {
  Start();
  ASSERT_TRUE(SetText(SettingsControl(settings_ids::Text2), "K"));
  ASSERT_TRUE(SetText(SettingsControl(settings_ids::Text3), "J"));
  ASSERT_TRUE(Click(SettingsControl(settings_ids::Command1)));
  ASSERT_TRUE(WaitUntil([] { return Setting("default", "key2") == "J"; }, 3000));
  PutOnClipboard("https://new.example/");
  ASSERT_TRUE(other.TakeFocus());

  PressCheck('S');
  ExpectNoLaunch();
  PressExit('E');
  ExpectStillRunning();

  PressCheck('K');
  ExpectOneCheckOf("https://new.example/");
  PressExit('J');
  ExpectExit();
}

// A lower-case letter registers the key that types it, as the settings
// window's sentence promises; the box keeps what was typed.
TEST_F(Hotkeys, ALowerCaseLetterMeansItsKey) {
  ASSERT_TRUE(SetSetting("default", "key", "s"));
  ASSERT_TRUE(SetSetting("default", "key2", "e"));
  Start();
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text2)), "s");
  EXPECT_EQ(Setting("default", "key"), "s");
  PutOnClipboard("https://lower.example/");
  ASSERT_TRUE(other.TakeFocus());
  PressCheck('S');
  ExpectOneCheckOf("https://lower.example/");
  PressExit('E');
  ExpectExit();
}

TEST_F(Hotkeys, TheSameLetterInBothBoxesGivesBothHotkeys) {
  ASSERT_TRUE(SetSetting("default", "key", "S"));
  ASSERT_TRUE(SetSetting("default", "key2", "S"));
  Start();
  PutOnClipboard("https://same.example/");
  ASSERT_TRUE(other.TakeFocus());
  PressCheck('S');
  ExpectOneCheckOf("https://same.example/");
  PressExit('S');
  ExpectExit();
}

TEST_F(Hotkeys, AnEmptyLetterBoxGetsItsDefaultLetterBack) {
  ASSERT_TRUE(SetSetting("default", "key", ""));
  ASSERT_TRUE(SetSetting("default", "key2", ""));
  Start();
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text2)), "S");
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text3)), "E");
  EXPECT_EQ(Setting("default", "key"), "S");
  EXPECT_EQ(Setting("default", "key2"), "E");
  PutOnClipboard("https://default.example/");
  ASSERT_TRUE(other.TakeFocus());
  PressCheck('S');
  ExpectOneCheckOf("https://default.example/");
}

// Another program holds Ctrl+Alt+S: that hotkey stays silent, without a
// message, and the exit hotkey still works.
TEST_F(Hotkeys, ACombinationTakenByAnotherProgramStaysSilent) {
  HotkeyHolder taken(MOD_CONTROL | MOD_ALT, 'S');
  ASSERT_TRUE(taken.Held());
  Start();
  PutOnClipboard("https://taken.example/");
  ASSERT_TRUE(other.TakeFocus());
  PressCheck('S');
  EXPECT_TRUE(taken.Received()) << "the other program keeps its hotkey";
  ExpectNoLaunch();
  EXPECT_FALSE(FindMessageBox(app.Pid(), 300).has_value());
  PressExit('E');
  ExpectExit();
}

TEST_F(Hotkeys, CheckHotkeyWhileTheMonitorIsHiddenShowsOnlyTheMessage) {
  Start();
  ASSERT_TRUE(PostMessageW(monitor, WM_CLOSE, 0, 0));
  ASSERT_TRUE(WaitUntil([this] { return !IsVisible(monitor); }, 3000));
  ASSERT_TRUE(SetClipboardText("no address here"));
  PumpFor(400);
  ASSERT_TRUE(other.TakeFocus());
  PressCheck('S');
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_EQ(box.text, "Not a valid URL in clipboard");
  EXPECT_FALSE(IsVisible(monitor));
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  EXPECT_FALSE(IsVisible(monitor));
}

}  // namespace
}  // namespace vt
