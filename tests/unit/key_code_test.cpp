#include "hotkeys/key_code.h"

#include <gtest/gtest.h>

namespace vantisk {
namespace {

// A layout where lower-case letters are typed with their upper-case key and
// nothing else has a key.
short FakeKeyScan(char c) { return (c >= 'a' && c <= 'z') ? static_cast<short>(c - 'a' + 'A') : -1; }

TEST(HotkeyKeyCode, LettersAndDigits) {
  EXPECT_EQ(HotkeyKeyCode("A", FakeKeyScan), 'A');
  EXPECT_EQ(HotkeyKeyCode("7", FakeKeyScan), '7');
  EXPECT_EQ(HotkeyKeyCode("sx", FakeKeyScan), 'S');
}

TEST(HotkeyKeyCode, NothingWithoutAKey) {
  EXPECT_EQ(HotkeyKeyCode("", FakeKeyScan), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("!", FakeKeyScan), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("\xE4", FakeKeyScan), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("a", KeyScanFn{}), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("a", [](char) -> short { return 0x01FF; }), std::nullopt);
}

TEST(HotkeyKeyCode, IgnoresTheShiftState) {
  EXPECT_EQ(HotkeyKeyCode("!", [](char) -> short { return 0x0131; }), 0x31u);
}

}  // namespace
}  // namespace vantisk
