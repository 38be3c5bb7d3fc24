// The checker list: adding, selecting and deleting checker URLs, and what
// the settings store holds afterwards.
#include "vantisk_fixture.h"

#include "harness/popup_menu.h"

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;

class CheckerList : public VantiskTest {
 protected:
  void StoreList(const std::vector<std::string>& entries, const std::string& count) {
    for (size_t i = 0; i < entries.size(); ++i) {
      ASSERT_TRUE(SetSetting("data", "list " + std::to_string(i), entries[i]));
    }
    ASSERT_TRUE(SetSetting("data", "listcount", count));
  }


  void Add(const std::string& text) {
    const int before = ListCount();
    ASSERT_TRUE(SetText(MonitorControl(ids::Text2), text));
    ASSERT_TRUE(Click(MonitorControl(ids::Command2)));
    ASSERT_TRUE(WaitUntil([&] { return ListCount() == before + 1; }, 3000));
  }

  // Clicks entry `index` as a user would; the list answers with its menu.
  HWND ClickEntry(int index) {
    HWND list = MonitorControl(ids::List1);
    const auto height = static_cast<int>(SendTimed(list, LB_GETITEMHEIGHT, 0).value_or(13));
    POINT point{10, index * height + height / 2};
    ClientToScreen(list, &point);
    EXPECT_TRUE(BringToFront(monitor));
    EXPECT_TRUE(ClickAt(point));
    HWND menu = FindPopupMenu(3000, app.Pid());
    EXPECT_NE(menu, nullptr) << "clicking an entry opens its menu";
    if (menu) {
      EXPECT_EQ(MenuItemTexts(menu), (std::vector<std::string>{"Select", "Delete"}));
    }
    return menu;
  }

  void ChooseForEntry(int index, size_t item) {
    HWND menu = ClickEntry(index);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(ChooseMenuItem(menu, item));
  }
};

constexpr size_t kSelect = 0;
constexpr size_t kDelete = 1;

TEST_F(CheckerList, AddingStoresEveryEntryAndTheLastIndex) {
  ASSERT_TRUE(SetSetting("data", "listcount", "-1"));
  Start();
  EXPECT_EQ(ListCount(), 0) << "an emptied list stays empty";
  Add("https://one.example/?u=");
  EXPECT_EQ(Setting("data", "listcount"), " 0");
  EXPECT_EQ(Setting("data", "list 0"), "https://one.example/?u=");

  // Enter in the text box adds like the button, with Alt held too; duplicates are kept.
  ASSERT_TRUE(BringToFront(monitor));
  ASSERT_TRUE(ClickAt(CenterOf(MonitorControl(ids::Text2))));
  PumpFor(200);
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(WaitUntil([&] { return ListCount() == 2; }, 3000));
  EXPECT_EQ(Setting("data", "list 1"), "https://one.example/?u=");
  EXPECT_EQ(Setting("data", "listcount"), " 1");
  ASSERT_TRUE(PressChord({VK_MENU, VK_RETURN}));
  EXPECT_TRUE(WaitUntil([&] { return ListCount() == 3; }, 3000)) << "Alt+Enter adds too";
}

TEST_F(CheckerList, AnEleventhEntryIsStoredUnderListTen) {
  StoreList({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, " 9");
  Start();
  ASSERT_EQ(ListCount(), 10);
  Add("k");
  EXPECT_EQ(Setting("data", "list 10"), "k");
  EXPECT_EQ(Setting("data", "listcount"), " 10");
}

TEST_F(CheckerList, DeletingTheMiddleEntryLeavesTheOldLastKeyUnread) {
  StoreList({"a", "b", "c"}, " 2");
  Start();
  ChooseForEntry(1, kDelete);
  ASSERT_TRUE(WaitUntil([&] { return ListCount() == 2; }, 3000));
  EXPECT_TRUE(WaitUntil([] { return Setting("data", "listcount") == " 1"; }, 3000));
  EXPECT_EQ(Setting("data", "list 0"), "a");
  EXPECT_EQ(Setting("data", "list 1"), "c");
  EXPECT_EQ(Setting("data", "list 2"), "c") << "keys beyond the count stay as they were";
  Restart();
  EXPECT_EQ(ListCount(), 2);
}

TEST_F(CheckerList, DeletingTheOnlyEntryStoresMinusOne) {
  StoreList({"only"}, " 0");
  Start();
  ChooseForEntry(0, kDelete);
  EXPECT_TRUE(WaitUntil([] { return Setting("data", "listcount") == "-1"; }, 3000));
  Restart();
  EXPECT_EQ(ListCount(), 0);
}

TEST_F(CheckerList, SelectingMakesTheEntryTheCheckerOfTheNextCheck) {
  StoreList({"https://first.example/?q=", "https://second.example/check?url="}, " 1");
  Start();
  ChooseForEntry(1, kSelect);
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_EQ(box.text, "Setting saved!");
  EXPECT_EQ(box.title, "Vantisk");
  EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(box.hasIcon);
  EXPECT_FALSE(IsTopmost(monitor));
  EXPECT_EQ(Setting("default", "selectedchecker"), "https://second.example/check?url=");
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  EXPECT_TRUE(WaitUntil([this] { return IsTopmost(monitor); }, 3000));

  PutOnClipboard("http://x.example/a?b=1");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  std::vector<std::string> launches = WaitForLaunches(1, 5000);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], "https://second.example/check?url=http://x.example/a%3Fb%3D1");
}

// The list can be walked with the keyboard: the arrow keys only move the
// selection, Enter, Space and the context-menu key open the entry's menu.
TEST_F(CheckerList, ArrowKeysWalkTheListAndEnterSpaceOrTheMenuKeyOpenTheMenu) {
  StoreList({"a", "b", "c"}, " 2");
  Start();
  HWND list = MonitorControl(ids::List1);
  ASSERT_TRUE(BringToFront(monitor));
  ASSERT_TRUE(ClickAt(CenterOf(MonitorControl(ids::Text2))));
  PumpFor(200);
  ASSERT_TRUE(PressKey(VK_TAB));  // from the checker URL box to the list
  struct Step {
    WORD key;
    LRESULT selected;
  };
  for (const Step step : {Step{VK_HOME, 0}, Step{VK_DOWN, 1}, Step{VK_DOWN, 2}, Step{VK_UP, 1}}) {
    SCOPED_TRACE(step.key);
    ASSERT_TRUE(PressKey(step.key));
    EXPECT_TRUE(WaitUntil([&] { return SendTimed(list, LB_GETCURSEL).value_or(LB_ERR) == step.selected; }, 2000))
        << "the key moves the selection";
    EXPECT_EQ(FindPopupMenu(400, app.Pid()), nullptr) << "moving the selection opens no menu";
  }
  for (WORD key : {WORD{VK_RETURN}, WORD{VK_SPACE}, WORD{VK_APPS}}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(PressKey(key));
    HWND menu = FindPopupMenu(3000, app.Pid());
    ASSERT_NE(menu, nullptr) << "the key opens the entry's menu";
    EXPECT_EQ(MenuItemTexts(menu), (std::vector<std::string>{"Select", "Delete"}));
    ASSERT_TRUE(DismissPopupMenu(menu));
  }
  ASSERT_TRUE(PressKey(VK_RETURN));
  HWND menu = FindPopupMenu(3000, app.Pid());
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(ChooseMenuItem(menu, kSelect));
  ASSERT_TRUE(DismissMessageBox(ExpectMessageBox().hwnd));
  EXPECT_EQ(Setting("default", "selectedchecker"), "b") << "the entry the keys selected";
}

// A damaged count neither hangs the start nor loses what is stored.
TEST_F(CheckerList, ADamagedCountKeepsTheStoredEntries) {
  for (const char* count : {"abc", "99999", "-7", "2147483648", "1e9"}) {
    SCOPED_TRACE(count);
    StoreList({"a", "b", "c"}, count);
    const DWORD started = GetTickCount();
    Restart();
    EXPECT_LT(GetTickCount() - started, 10000u);
    EXPECT_EQ(ListCount(), 3);
    EXPECT_EQ(Setting("data", "list 2"), "c");
  }
  StoreList({"a", "b", "c", "d"}, " 2.5");
  Restart();
  EXPECT_EQ(ListCount(), 3) << "2.5 rounds to the even 2";
}

}  // namespace
}  // namespace vt
