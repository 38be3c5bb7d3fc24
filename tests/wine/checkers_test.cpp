// Checkers that say where the address goes, the starter list of a first
// start, and one keystroke or tray item that asks every checker of the list.
#include "vantisk_fixture.h"

#include "checkers/starter_checkers.h"
#include "harness/handles.h"

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;

class Checkers : public VantiskTest {
 protected:
  void StoreList(const std::vector<std::string>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
      ASSERT_TRUE(SetSetting("data", "list " + std::to_string(i), entries[i]));
    }
    ASSERT_TRUE(SetSetting("data", "listcount", " " + std::to_string(entries.size() - 1)));
  }

  // The check-everything hotkey while another window of the test has the focus.
  void PressCheckAll() {
    ASSERT_TRUE(BringToFront(other_.get()));
    ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, VK_SHIFT, 'S'}));
  }

  const std::string kHostChecker = "https://a.example/scan/{host}";
  const std::string kUrlChecker = "https://b.example/?q={url}&x=1";
  const std::string kAddress = "https://Sub.Example.com/p?q=1";
  const std::vector<std::string> kTargets = {"https://a.example/scan/sub.example.com",
                                             "https://b.example/?q=https://sub.example.com/p%3Fq%3D1&x=1"};

 private:
  vt::UniqueWindow other_{CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 400, 400, 200, 100,
                                          nullptr, nullptr, nullptr, nullptr)};
};

TEST_F(Checkers, AFirstStartStoresTheStarterListAndKeepsTheDefaultChecker) {
  Start();
  const std::vector<std::string> starter = vantisk::StarterCheckers();
  ASSERT_GE(starter.size(), 6u);
  EXPECT_EQ(ListEntries(), starter);
  EXPECT_EQ(Setting("data", "listcount"), " " + std::to_string(starter.size() - 1));
  EXPECT_EQ(Setting("data", "list 0"), starter[0]);
  EXPECT_FALSE(Setting("default", "selectedchecker").has_value());

  PutOnClipboard("https://example.com/");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kChecker + "https://example.com/"});
}

TEST_F(Checkers, PlaceholdersTakeTheHostOrTheAddressAndAnUnknownOneNamesItself) {
  ASSERT_TRUE(SetSetting("default", "selectedchecker", kHostChecker));
  Start();
  CheckManually(kAddress);
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kTargets[0]});
  ASSERT_TRUE(ClearLaunches());

  ASSERT_TRUE(SetSetting("default", "selectedchecker", kUrlChecker));
  CheckManually(kAddress);
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kTargets[1]});
  ASSERT_TRUE(ClearLaunches());

  ASSERT_TRUE(SetSetting("default", "selectedchecker", "https://c.example/?q={address}"));
  CheckManually(kAddress);
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_NE(box.text.find("unknown placeholder {address}"), std::string::npos) << box.text;
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  ExpectNoLaunch();
}

// The tray item and the hotkey open one page per checker, in list order; a
// list of more than five asks first.
TEST_F(Checkers, EveryCheckerOfTheListGetsTheClipboardsAddress) {
  StoreList({kHostChecker, kUrlChecker, "not a checker", "https://c.example/{host}/"});
  Start();
  const std::vector<std::string> expected = {kTargets[0], kTargets[1], "https://c.example/sub.example.com/"};
  PutOnClipboard(kAddress);
  ChooseFromTrayMenu(kCheckAll);
  EXPECT_EQ(WaitForLaunches(3, 5000), expected);
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_NE(box.text.find("Checker 3"), std::string::npos) << "the skipped entry is named: " << box.text;
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  ASSERT_TRUE(ClearLaunches());

  PressCheckAll();
  EXPECT_EQ(WaitForLaunches(3, 5000), expected);
  ASSERT_TRUE(DismissMessageBox(ExpectMessageBox().hwnd));
}

TEST_F(Checkers, MoreThanFivePagesAskFirst) {
  StoreList({kHostChecker, kUrlChecker, kHostChecker, kUrlChecker, kHostChecker, kUrlChecker});
  Start();
  PutOnClipboard(kAddress);
  PressCheckAll();
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_EQ(box.text, "Open 6 checker pages?");
  ASSERT_TRUE(PressMessageBoxButton(box, "No"));
  ExpectNoLaunch();

  PressCheckAll();
  box = ExpectMessageBox();
  ASSERT_TRUE(PressMessageBoxButton(box, "Yes"));
  EXPECT_EQ(WaitForLaunches(6, 5000).size(), 6u);
}

}  // namespace
}  // namespace vt
