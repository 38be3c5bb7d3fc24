// Settings edited by hand or by other programs: positions that are no number
// or lie on a monitor that is gone, letters no key types, checker URLs that
// cannot be used, values stored with a number type, and the whole settings key
// deleted while the program runs. The program starts, answers, loses nothing
// stored and tells the user where a check cannot go ahead.
#include "vantisk_fixture.h"

#include "harness/text.h"

#include <cstdio>

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;
namespace settings_ids = vantisk::form1_ids;

class StoredSettings : public VantiskTest {
 protected:
  RECT MonitorRect() const {
    RECT rect{};
    GetWindowRect(monitor, &rect);
    return rect;
  }

  void ExpectOnScreen() const {
    const RECT rect = MonitorRect();
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
  }


  MessageBoxInfo NextMessage() {
    MessageBoxInfo box = ExpectMessageBox();
    EXPECT_TRUE(DismissMessageBox(box.hwnd));
    return box;
  }

  static bool SetDword(const std::string& section, const std::string& key, DWORD value) {
    return RegSetDword(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\" + section, key, value);
  }
  static std::optional<RegValue> Raw(const std::string& section, const std::string& key) {
    return RegGetRaw(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\" + section, key);
  }
};

class HandEdited : public StoredSettings {};
class KeyDeleted : public StoredSettings {};

// A position that reads as no number is 0; one on a monitor that is gone (to
// the right of this one) brings the window back in sight at the same height.
// Nothing is written back until the window next stores its position.
TEST_F(HandEdited, PositionsOutOfSightOrNoNumberComeOntoTheScreen) {
  struct Case {
    const char* left;
    const char* top;
    long expectedTop;
  };
  // Twice the screen's width in twips (15 per pixel at 96 dpi), as stored.
  char rightOfScreen[32];
  std::snprintf(rightOfScreen, sizeof rightOfScreen, " %d", GetSystemMetrics(SM_CXSCREEN) * 2 * 15);
  for (const Case& c : {Case{"abc", "abc", 0}, Case{"", "", 0}, Case{rightOfScreen, " 4500", 300}}) {
    SCOPED_TRACE(std::string(c.left) + " / " + c.top);
    ASSERT_TRUE(SetSetting("default", "leftpos", c.left));
    ASSERT_TRUE(SetSetting("default", "toppos", c.top));
    Restart();
    ExpectOnScreen();
    EXPECT_EQ(MonitorRect().top, c.expectedTop);
    ExpectAnswering();
    EXPECT_EQ(Setting("default", "leftpos"), c.left);
    EXPECT_EQ(Setting("default", "toppos"), c.top);
  }
}

// "€" is no key's character: the letter box gets its default back, and that
// hotkey works. A control character is the key that types it with Ctrl
// ("\x01" is Ctrl+A), shift state ignored: the box keeps it, Alt+A exits.
TEST_F(HandEdited, LettersNoKeyTypesFallBackAndControlCharactersMeanTheirKey) {
  ASSERT_TRUE(SetSetting("default", "key", "€"));
  ASSERT_TRUE(SetSetting("default", "key2", "\x01"));
  Start();
  ExpectAnswering();
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text2)), "S");
  EXPECT_EQ(Setting("default", "key"), "S");
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text3)), "\x01");
  EXPECT_EQ(Setting("default", "key2"), "\x01");
  PutOnClipboard("https://letters.example/");
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'S'}));
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kChecker + "https://letters.example/"});
  ASSERT_TRUE(PressChord({VK_MENU, 'A'}));
  EXPECT_TRUE(app.WaitForExit(5000));
}

// The selected checker is read at every check and never rewritten by one: a
// share, or a URL so long nothing fits after it, is refused with a message
// that names it, shortened.
TEST_F(HandEdited, CheckersThatCannotBeUsedAreRefusedAndKept) {
  Start();
  const std::string share = "\\\\host\\share\\check.exe?u=";
  const std::string longWeb = "https://checker.example/?" + std::string(10 * 1024, 'c') + "=";
  const std::string longOther = "ftp://checker.example/?" + std::string(10 * 1024, 'c') + "=";
  for (const std::string& checker : {share, longOther}) {
    SCOPED_TRACE(checker.substr(0, 30));
    ASSERT_TRUE(SetSetting("default", "selectedchecker", checker));
    CheckManually("https://example.com/");
    const MessageBoxInfo box = NextMessage();
    EXPECT_NE(box.text.find("is not a web address"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(checker.substr(0, 200)), std::string::npos) << "the checker is named";
    EXPECT_LT(box.text.size(), 400u) << "a long checker is shortened";
    EXPECT_EQ(Setting("default", "selectedchecker"), checker);
  }
  ASSERT_TRUE(SetSetting("default", "selectedchecker", longWeb));
  CheckManually("https://example.com/");
  EXPECT_EQ(NextMessage().text, kTooLong);
  EXPECT_EQ(Setting("default", "selectedchecker"), longWeb);
  PumpFor(300);
  EXPECT_TRUE(Launches().empty());
}

// Values stored with a number type read as their decimal text; what the
// program writes back is the same number as text.
TEST_F(HandEdited, NumbersStoredAsDwordsReadAsTheirDecimalText) {
  ASSERT_TRUE(SetDword("default", "key", 7));
  ASSERT_TRUE(SetDword("default", "key2", 9));
  ASSERT_TRUE(SetDword("default", "leftpos", 1500));
  ASSERT_TRUE(SetDword("default", "toppos", 3000));
  ASSERT_TRUE(SetDword("default", "selectedchecker", 5));
  ASSERT_TRUE(SetDword("start", "autoboot", 1));
  ASSERT_TRUE(SetDword("data", "listcount", 1));
  ASSERT_TRUE(SetDword("data", "list 0", 42));
  ASSERT_TRUE(SetSetting("data", "list 1", "https://b.example/?u="));
  Start();
  ExpectAnswering();
  EXPECT_FALSE(IsVisible(settings)) << "stored letters: not a first start";
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text2)), "7");
  EXPECT_EQ(WindowText(SettingsControl(settings_ids::Text3)), "9");
  EXPECT_EQ(SendTimed(SettingsControl(settings_ids::Check1), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(MonitorRect().left, 100);
  EXPECT_EQ(MonitorRect().top, 200);
  EXPECT_EQ(ListEntries(), (std::vector<std::string>{"42", "https://b.example/?u="}));

  PutOnClipboard("https://dword.example/");
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, '7'}));
  const MessageBoxInfo box = NextMessage();
  EXPECT_NE(box.text.find("is not a web address"), std::string::npos) << box.text;
  EXPECT_NE(box.text.find("\n\n5\n\n"), std::string::npos) << "the checker 5 is named: " << box.text;

  ASSERT_TRUE(PressChord({VK_MENU, '9'}));
  ASSERT_TRUE(app.WaitForExit(5000)) << "the exit hotkey is Alt+9";
  EXPECT_EQ(Setting("default", "key"), "7");
  EXPECT_EQ(Setting("default", "key2"), "9");
  EXPECT_EQ(Setting("default", "leftpos"), " 1500");
  EXPECT_EQ(Setting("default", "toppos"), " 3000");
  EXPECT_EQ(Setting("start", "autoboot"), "1");
  const std::optional<RegValue> checker = Raw("default", "selectedchecker");
  ASSERT_TRUE(checker.has_value());
  EXPECT_EQ(checker->type, static_cast<DWORD>(REG_DWORD)) << "a check writes nothing";
  EXPECT_EQ(RegGetDword(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\data", "list 0"), 42u);
}

// Deleting HKCU\Software\Vantisk under the running program loses nothing it
// holds: each save writes its whole part again, creating the keys.
TEST_F(KeyDeleted, TheNextSavesRecreateWhatTheyWrite) {
  ASSERT_TRUE(SetSetting("default", "key", "K"));
  ASSERT_TRUE(SetSetting("default", "key2", "J"));
  ASSERT_TRUE(SetSetting("default", "selectedchecker", "https://mine.example/?u="));
  ASSERT_TRUE(SetSetting("data", "list 0", "a"));
  ASSERT_TRUE(SetSetting("data", "list 1", "b"));
  ASSERT_TRUE(SetSetting("data", "listcount", " 1"));
  Start();
  ASSERT_TRUE(RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey));
  ASSERT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSettingsKey));
  ExpectAnswering();

  PutOnClipboard("https://gone.example/");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kChecker + "https://gone.example/"})
      << "without a stored checker the default one is used";

  ASSERT_TRUE(SetText(MonitorControl(ids::Text2), "c"));
  ASSERT_TRUE(Click(MonitorControl(ids::Command2)));
  EXPECT_TRUE(WaitUntil([] { return Setting("data", "listcount") == " 2"; }, 3000));
  EXPECT_EQ(Setting("data", "list 0"), "a");
  EXPECT_EQ(Setting("data", "list 1"), "b");
  EXPECT_EQ(Setting("data", "list 2"), "c");

  ASSERT_TRUE(Click(SettingsControl(settings_ids::Command1)));
  EXPECT_TRUE(WaitUntil([] { return Setting("default", "key") == "K"; }, 3000));
  EXPECT_EQ(Setting("default", "key2"), "J");
  ASSERT_TRUE(Click(SettingsControl(settings_ids::Check1)));
  EXPECT_TRUE(WaitUntil([] { return Setting("start", "autoboot") == "1"; }, 3000));
  ASSERT_TRUE(PostMessageW(monitor, WM_CLOSE, 0, 0));
  EXPECT_TRUE(WaitUntil([] { return Setting("default", "toppos").has_value(); }, 3000));
  EXPECT_TRUE(Setting("default", "leftpos").has_value());
}

}  // namespace
}  // namespace vt
