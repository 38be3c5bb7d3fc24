// The hotkey window's procedure on its own: hotkey messages are handled and
// swallowed, everything else reaches the previous procedure untouched.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "hotkeys/sub_class.h"

namespace {

std::vector<WPARAM> hotkeysRun;

struct Forwarded {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  int count = 0;
} forwarded;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  forwarded = {window, message, wParam, lParam, forwarded.count + 1};
  return static_cast<LRESULT>(0x7EADBEEF);
}

class HotkeyProc : public ::testing::Test {
 protected:
  void SetUp() override {
    hotkeysRun.clear();
    forwarded = {};
    mSubClass::PrevWndProc = RecordingProc;
  }
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
};

TEST_F(HotkeyProc, OtherMessagesReachThePreviousProcedureUnchanged) {
  const auto lParam = static_cast<LPARAM>(-77);
  EXPECT_EQ(mSubClass::WindowProc(window, WM_USER + 5, 0xFFFF, lParam), 0x7EADBEEF);
  EXPECT_EQ(forwarded.count, 1);
  EXPECT_EQ(forwarded.window, window);
  EXPECT_EQ(forwarded.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(forwarded.wParam, 0xFFFFu);
  EXPECT_EQ(forwarded.lParam, lParam);
  EXPECT_TRUE(hotkeysRun.empty());
}

TEST_F(HotkeyProc, HotkeysRunTheirActionAndAreNeverForwarded) {
  EXPECT_EQ(mSubClass::WindowProc(window, WM_HOTKEY, 1, 0x530003), 0);
  EXPECT_EQ(mSubClass::WindowProc(window, WM_HOTKEY, 2, 0), 0);
  EXPECT_EQ(mSubClass::WindowProc(window, WM_HOTKEY, 3, 0), 0);
  EXPECT_EQ(hotkeysRun, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(forwarded.count, 0);
}

}  // namespace

// The hotkeys' actions, recorded instead of run.
void mSubClass::RunHotkey(WPARAM id) { hotkeysRun.push_back(id); }
