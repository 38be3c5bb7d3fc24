// Hostile and odd text on the clipboard and in the manual box: huge texts,
// control characters, scripts outside any single-byte code page, a clipboard
// held open by another program, and addresses made to get something other
// than a web page opened. Whatever comes in, the program keeps answering and
// hands the shell nothing but an http(s) address.
#include "vantisk_fixture.h"

#include <cstdio>
#include <memory>

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;
constexpr char kClipboardNotValid[] = "Not a valid URL in clipboard";
constexpr char kManualNotValid[] = "Not a valid URL to check manually!";
constexpr size_t kLongestTarget = 2048;
// The most characters a text box of the program holds.
constexpr size_t kTextBoxLimit = 4096;
constexpr char kManualBoxFull[] =
    "The address runs to the end of the manual box, which holds at most 4096 characters, so it may have been cut. "
    "Copy the address and check the clipboard instead.";

// `length` characters: `start`, then as many 'a' as it takes.
std::string Padded(const std::string& start, size_t length) {
  std::string text(length, 'a');
  text.replace(0, start.size(), start);
  return text;
}

class HostileText : public VantiskTest {
 protected:
  // Counted in the program's window, so a huge text is not copied across.
  size_t TextLength(int id) const {
    return static_cast<size_t>(SendTimed(MonitorControl(id), WM_GETTEXTLENGTH, 0, 0, 1000).value_or(0));
  }

  void CheckClipboard() { ASSERT_TRUE(Click(MonitorControl(ids::Command1))); }

  // The one launch the check just made; the log is emptied for the next.
  std::string NextLaunch() {
    std::vector<std::string> launches = WaitForLaunches(1, 5000);
    EXPECT_EQ(launches.size(), 1u);
    EXPECT_TRUE(ClearLaunches());
    return launches.empty() ? std::string() : launches.front();
  }

  void ExpectRefusal(const std::string& message) {
    MessageBoxInfo box = ExpectMessageBox();
    EXPECT_EQ(box.text, message);
    ASSERT_TRUE(DismissMessageBox(box.hwnd));
    ExpectNoLaunch(300);
  }
};

class HugeText : public HostileText {};
class OddText : public HostileText {};
class BusyClipboard : public HostileText {};
class UnsafeAddress : public HostileText {};

// 100 MB would take the edit control minutes and gigabytes: Text1 shows the
// start, and the check reads the whole text and refuses its address as too long.
TEST_F(HugeText, AHundredMegabytesShowTheirStartAndAreRefusedAsTooLong) {
  Start();
  const std::string start = "https://huge.example/?q=";
  ASSERT_TRUE(SetClipboardText(Padded(start, size_t{100} << 20)));
  const ULONGLONG copied = GetTickCount64();
  // Wine carries clipboard data between processes at about 80 MB/s, so the
  // program's one read of the 200 MB of UTF-16 takes a few seconds.
  ASSERT_TRUE(WaitUntil([&] { return TextLength(ids::Text1) == kTextBoxLimit; }, 30000, 100));
  std::printf("Text1 showed the start of 100 MB after %llu ms\n", GetTickCount64() - copied);
  ExpectAnswering();
  EXPECT_EQ(MonitorText(ids::Text1), Padded(start, kTextBoxLimit));
  const std::optional<ProcessMemoryInfo> memory = ProcessMemory(app.Pid());
  ASSERT_TRUE(memory.has_value());
  std::printf("commit %zu MB, working set %zu MB\n", memory->privateBytes >> 20, memory->workingSet >> 20);
  EXPECT_LT(memory->privateBytes, size_t{600} << 20) << "more than three copies of the text";

  // The check reads the whole text again (a few seconds under Wine, as above):
  // the address is far too long to check.
  const ULONGLONG checked = GetTickCount64();
  CheckClipboard();
  MessageBoxInfo box = ExpectMessageBox(30000);
  std::printf("the check of 100 MB answered after %llu ms\n", GetTickCount64() - checked);
  EXPECT_EQ(box.text, kTooLong);
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  // Pasting stops at the text box's limit as well.
  ASSERT_TRUE(SendTimed(MonitorControl(ids::Text3), WM_PASTE, 0, 0, 30000).has_value());
  EXPECT_EQ(TextLength(ids::Text3), kTextBoxLimit);
  ASSERT_TRUE(Click(MonitorControl(ids::Command3)));
  ExpectRefusal(kManualBoxFull);

  PutOnClipboard("https://after.example/");
  CheckClipboard();
  EXPECT_EQ(NextLaunch(), kChecker + "https://after.example/");
}

TEST_F(HugeText, ALineAtTheBoxLimitIsShownWholeAndOneCharacterMoreIsCut) {
  Start();
  const std::string line = Padded("https://long.example/?q=", kTextBoxLimit);
  PutOnClipboard(line);
  CheckClipboard();
  ExpectRefusal(kTooLong);

  const std::string longer = Padded("https://longer.example/?q=", kTextBoxLimit);
  ASSERT_TRUE(SetClipboardText(longer + "z"));
  EXPECT_TRUE(WaitUntil([&] { return MonitorText(ids::Text1) == longer; }, 3000));
  ExpectAnswering();
}

// Pasting into the manual box stops at its limit. An address that runs to
// the cut is refused even where it ends there in dots the finder would trim:
// the "@" that sends it to another site may be past the cut.
TEST_F(HugeText, AManualAddressCutAfterItsTrailingDotsIsRefused) {
  Start();
  ASSERT_TRUE(SetClipboardText("https://paypal.com" + std::string(4200, '.') + "@evil.example/"));
  ASSERT_TRUE(WaitUntil([&] { return TextLength(ids::Text1) == kTextBoxLimit; }, 3000));
  CheckClipboard();
  EXPECT_EQ(NextLaunch(), kChecker + "https://evil.example/");
  ASSERT_TRUE(SendTimed(MonitorControl(ids::Text3), WM_PASTE, 0, 0, 10000).has_value());
  EXPECT_EQ(TextLength(ids::Text3), kTextBoxLimit);
  ASSERT_TRUE(Click(MonitorControl(ids::Command3)));
  ExpectRefusal(kManualBoxFull);
}

// Text1 shows only the start of a long text, but the check reads the whole
// clipboard: an address past the box's limit, or one that crosses it, is
// checked whole. An edit of Text1 is checked as it stands.
TEST_F(HugeText, AnAddressPastOrAcrossTheBoxLimitIsCheckedWhole) {
  Start();
  std::string words;
  while (words.size() < 5000) words += "lorem ipsum dolor sit amet ";
  words.resize(5000);
  words.back() = ' ';
  const std::string address = "https://paypal.com.evil.example/";
  ASSERT_TRUE(SetClipboardText(words + address));
  ASSERT_TRUE(WaitUntil([&] { return TextLength(ids::Text1) == kTextBoxLimit; }, 3000));
  CheckClipboard();
  EXPECT_EQ(NextLaunch(), kChecker + address);

  const std::string across = std::string(kTextBoxLimit - 10, ' ') + address + " and more words";
  ASSERT_TRUE(SetClipboardText(across));
  ASSERT_TRUE(WaitUntil([&] { return MonitorText(ids::Text1) == across.substr(0, kTextBoxLimit); }, 3000));
  CheckClipboard();
  EXPECT_EQ(NextLaunch(), kChecker + address);

  // However far into the text it stands.
  ASSERT_TRUE(SetClipboardText(std::string(size_t{4} << 20, ' ') + address));
  ASSERT_TRUE(WaitUntil([&] { return TextLength(ids::Text1) == kTextBoxLimit; }, 5000));
  CheckClipboard();
  EXPECT_EQ(NextLaunch(), kChecker + address);
}

// The limit counts the target as handed to the shell: checker URL plus the
// address after percent-encoding. Wine's shell takes a browser command line of
// at most 1023 characters and would crash the program past that; it is handed
// nothing longer, and the user is told the browser could not be started.
TEST_F(HugeText, TargetsPastEitherLimitAreRefusedWithAMessage) {
  const std::optional<std::string> command =
      RegGetText(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", "");
  ASSERT_TRUE(command.has_value());
  const size_t wineLimit = 1023 - command->size();
  const std::string start = "https://t.example/";
  const auto address = [&](size_t targetLength) { return Padded(start, targetLength - kChecker.size()); };
  const auto browserMessage = [](const std::string& target) {
    return "The browser could not be started to open:\n\n" + target.substr(0, 200) +
           "...\n\nCheck that a default web browser is set.";
  };
  Start();
  CheckManually(address(wineLimit));
  EXPECT_EQ(NextLaunch(), kChecker + address(wineLimit));
  CheckManually(address(wineLimit + 1));
  ExpectRefusal(browserMessage(kChecker + address(wineLimit + 1)));
  CheckManually(address(kLongestTarget));
  ExpectRefusal(browserMessage(kChecker + address(kLongestTarget)));
  EXPECT_TRUE(app.IsRunning());
  CheckManually(address(kLongestTarget + 1));
  ExpectRefusal(kTooLong);

  // 400 two-byte characters grow to 2400 once encoded.
  std::string umlauts = start;
  for (int i = 0; i < 400; ++i) umlauts += "ü";
  CheckManually(umlauts);
  ExpectRefusal(kTooLong);
  // Without a checker the address alone is the target.
  ASSERT_TRUE(SetSetting("default", "selectedchecker", ""));
  CheckManually(Padded(start, kLongestTarget + 1));
  ExpectRefusal(kTooLong);
}

// Text1 keeps line breaks, tabs and other control characters, but an address
// ends at them; the checker is given the address the way a browser would
// request it (international hosts in ASCII, other text as UTF-8 escapes),
// percent-encoded once more as its query.
TEST_F(OddText, TheAddressEndsAtAControlCharacterAndArrivesAsABrowserWouldAskForIt) {
  struct Case {
    std::string text, encoded;
  };
  Start();
  for (const Case& c : {Case{"Link: https://a.example/one\r\ntwo", "https://a.example/one"},
                        Case{"Link: https://a.example/\ttab", "https://a.example/"},
                        // One address wrapped across lines: a browser deletes the breaks.
                        Case{"https://a.example/one\r\ntwo", "https://a.example/onetwo"},
                        Case{"https://a.example/x\x01\x1b\x7f", "https://a.example/x"},
                        Case{"https://bücher.example/straße", "https://xn--bcher-kva.example/stra%25C3%259Fe"},
                        Case{"https://α.example/Ω", "https://xn--mxa.example/%25CE%25A9"},
                        Case{"https://例え.jp/検査", "https://xn--r8jz45g.jp/%25E6%25A4%259C%25E6%259F%25BB"},
                        Case{"https://emoji.example/😀", "https://emoji.example/%25F0%259F%2598%2580"}}) {
    SCOPED_TRACE(c.encoded);
    PutOnClipboard(c.text);
    CheckClipboard();
    EXPECT_EQ(NextLaunch(), kChecker + c.encoded);
  }
  CheckManually("https://例え.jp/😀");
  EXPECT_EQ(NextLaunch(), kChecker + "https://xn--r8jz45g.jp/%25F0%259F%2598%2580");
}

// Opened as it is, without a checker: the address up to the control
// character, and a host in another script only after the user agreed.
TEST_F(OddText, WithoutACheckerTheAddressBeforeAControlCharacterIsOpened) {
  ASSERT_TRUE(SetSetting("default", "selectedchecker", ""));
  Start();
  for (const char* text :
       {"Link: https://a.example/one\r\ntwo", "Link: https://a.example/one\ttab", "https://a.example/one\x01"}) {
    SCOPED_TRACE(text);
    PutOnClipboard(text);
    CheckClipboard();
    EXPECT_EQ(NextLaunch(), "https://a.example/one");
  }
  PutOnClipboard("https://bücher.example/例");
  CheckClipboard();
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_NE(box.text.find("xn--bcher-kva.example"), std::string::npos) << box.text;
  ASSERT_TRUE(PressMessageBoxButton(box, "Yes"));
  EXPECT_EQ(NextLaunch(), "https://xn--bcher-kva.example/%E4%BE%8B");
}

// Another program holds the clipboard open for five seconds with new text
// half written: the window answers all along, shows and checks what it had.
TEST_F(BusyClipboard, FiveSecondsHeldOpenLeaveTheWindowAnsweringWithItsText) {
  Start();
  PutOnClipboard("https://before.example/");
  auto held = std::make_unique<HeldClipboard>("https://after.example/");
  ASSERT_TRUE(*held);

  const ULONGLONG until = GetTickCount64() + 5000;
  bool checked = false;
  while (GetTickCount64() < until) {
    PumpFor(250);
    ExpectAnswering();
    ASSERT_EQ(MonitorText(ids::Text1), "https://before.example/");
    if (!checked && GetTickCount64() + 2500 > until) {
      CheckClipboard();
      EXPECT_EQ(NextLaunch(), kChecker + "https://before.example/") << "a check needs no clipboard";
      checked = true;
    }
  }
  held.reset();
  EXPECT_TRUE(WaitUntil([this] { return MonitorText(ids::Text1) == "https://after.example/"; }, 3000));
}

// Whatever the checker, only a web address found in the text reaches the
// shell: shares, files and scripts are no web address, and what follows an
// address (a quote, a blank, a backslashed share) never comes with it.
TEST_F(UnsafeAddress, OnlyAWebAddressFoundInTheTextIsChecked) {
  struct Case {
    std::string text, encoded;  // empty: refused
  };
  Start();
  for (const Case& c : {Case{"\\\\host\\share\\tool.exe http", ""}, Case{"file:///C:/Windows/ http", ""},
                        Case{"javascript:alert(1)//http", ""}, Case{"https:example.com/http", ""},
                        Case{"https://a.example/p?q=1&r=%41#frag \"x\" y",
                             "https://a.example/p%3Fq%3D1%26r%3D%2541"},
                        Case{"HTTP:\\\\example.com", "http://example.com/"}}) {
    SCOPED_TRACE(c.text);
    PutOnClipboard(c.text);
    CheckClipboard();
    if (c.encoded.empty()) {
      ExpectRefusal(kClipboardNotValid);
    } else {
      EXPECT_EQ(NextLaunch(), kChecker + c.encoded);
    }
  }
}

// Without a checker the address itself is opened, so it must be one a browser
// reads the same way: no quote or backslash can break out of its argument.
TEST_F(UnsafeAddress, WithoutACheckerOnlyThePlainWebAddressIsOpened) {
  ASSERT_TRUE(SetSetting("default", "selectedchecker", ""));
  Start();
  for (const char* text : {"\\\\host\\share\\tool.exe http", "https:example.com/http"}) {
    SCOPED_TRACE(text);
    CheckManually(text);
    ExpectRefusal(kManualNotValid);
  }
  CheckManually("https://a.example/p?q=1&r=%41#frag \"x\" y");
  EXPECT_EQ(NextLaunch(), "https://a.example/p?q=1&r=%41#frag");
  // A backslash is a slash to a browser; the defanged separator asks first.
  CheckManually("https:\\\\host\\share\\tool.exe http");
  ASSERT_TRUE(PressMessageBoxButton(ExpectMessageBox(), "Yes"));
  EXPECT_EQ(NextLaunch(), "https://host/share/tool.exe");
}

}  // namespace
}  // namespace vt
