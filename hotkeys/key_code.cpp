#include "hotkeys/key_code.h"

#include "links/utf8.h"

namespace vantisk {
namespace {

bool IsOwnKeyCode(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

std::optional<unsigned> HotkeyKeyCode(std::string_view letterBoxText, const KeyScanFn& keyScan) {
  if (letterBoxText.empty()) return std::nullopt;
  const char first = letterBoxText.front();
  if (IsOwnKeyCode(first)) return static_cast<unsigned char>(first);
  const char32_t character = DecodeUtf8At(letterBoxText, 0).codePoint;
  if (!keyScan || character == kReplacementCharacter) return std::nullopt;

  // The high byte is the shift state, which a hotkey's own modifiers replace.
  const unsigned keyCode = static_cast<unsigned>(keyScan(character)) & 0xFF;
  // -1 has 0xFF in its low byte; 0 is no key at all.
  if (keyCode == 0xFF || keyCode == 0) return std::nullopt;
  return keyCode;
}

}  // namespace vantisk
