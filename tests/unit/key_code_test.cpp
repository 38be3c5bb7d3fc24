#include "hotkeys/key_code.h"

#include <gtest/gtest.h>

namespace vantisk {
namespace {

// A layout where lower-case letters are typed with their upper-case key and
// nothing else has a key.
// A layout where lower-case letters are typed with their upper-case key, ä
// with the key 0xDE, and nothing else has a key.
short FakeKeyScan(char32_t c) {
  if (c == U'\u00E4') return 0xDE;
  return (c >= U'a' && c <= U'z') ? static_cast<short>(c - U'a' + U'A') : -1;
}

TEST(HotkeyKeyCode, LettersAndDigits) {
  EXPECT_EQ(HotkeyKeyCode("A", FakeKeyScan), 'A');
  EXPECT_EQ(HotkeyKeyCode("7", FakeKeyScan), '7');
  EXPECT_EQ(HotkeyKeyCode("sx", FakeKeyScan), 'S');
  // A character of two bytes is looked up whole, not by its first byte.
  EXPECT_EQ(HotkeyKeyCode("\xC3\xA4", FakeKeyScan), 0xDEu);
}

TEST(HotkeyKeyCode, NothingWithoutAKey) {
  EXPECT_EQ(HotkeyKeyCode("", FakeKeyScan), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("!", FakeKeyScan), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("\xE4", FakeKeyScan), std::nullopt);  // malformed: no character
  EXPECT_EQ(HotkeyKeyCode("\xC3\xB6", FakeKeyScan), std::nullopt);   // ö has no key here
  EXPECT_EQ(HotkeyKeyCode("a", KeyScanFn{}), std::nullopt);
  EXPECT_EQ(HotkeyKeyCode("a", [](char32_t) -> short { return 0x01FF; }), std::nullopt);
}

TEST(HotkeyKeyCode, IgnoresTheShiftState) {
  EXPECT_EQ(HotkeyKeyCode("!", [](char) -> short { return 0x0131; }), 0x31u);
}

}  // namespace
}  // namespace vantisk
