// Which key a hotkey letter box stands for.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace vantisk {

// The keyboard layout's answer for one character, as VkKeyScanW gives it:
// virtual-key code in the low byte, shift state in the high byte, -1 when no
// key types the character.
using KeyScanFn = std::function<short(char32_t)>;

// The virtual-key code for the first character of `letterBoxText` (UTF-8).
// Upper-case letters A-Z and digits 0-9 are their own codes; any other
// character is looked up with `keyScan` (shift state ignored), so "s" gives the
// S key and "ä" the layout's key for it. Nothing when the text is empty, starts
// with a malformed sequence or no key types its first character.
std::optional<unsigned> HotkeyKeyCode(std::string_view letterBoxText, const KeyScanFn& keyScan);

}  // namespace vantisk
