// The clipboard as text, in UTF-8 like all the program's text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tk {

enum class ClipboardRead {
  Text,    // `text` holds the clipboard's text (empty when it holds no text)
  Busy,    // another program holds the clipboard open; `text` is untouched
};

// Reads the clipboard's text. Text is read in Unicode and converted to UTF-8,
// so every character arrives as it was copied. Only the first `maxUnits` UTF-16
// units are converted (a surrogate pair is never split), so a huge clipboard
// costs one copy, not several; the rest of a longer text is not read, and
// `cut` (when given) tells whether there was such a rest.
ClipboardRead ReadClipboardText(HWND owner, std::string& text, size_t maxUnits = SIZE_MAX, bool* cut = nullptr);

// Tells whether the clipboard may have changed since the last look. A window
// that listens is told of every change by the system, so looking costs no call
// at all; where it cannot listen, the clipboard's sequence number is compared.
class ClipboardWatch {
 public:
  ClipboardWatch() = default;
  ~ClipboardWatch();
  ClipboardWatch(const ClipboardWatch&) = delete;
  ClipboardWatch& operator=(const ClipboardWatch&) = delete;

  void Listen(HWND window);
  // The listening window's WM_CLIPBOARDUPDATE.
  void OnUpdate() { changed_ = true; }
  // True once for each change (and at the first look), which it then takes.
  bool TakeChange();
  // The change just taken could not be read: the next look takes it again.
  void GiveBack();

 private:
  HWND listener_ = nullptr;
  bool changed_ = true;
  std::optional<DWORD> sequence_;
};

}  // namespace tk
