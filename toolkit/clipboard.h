// The clipboard as text in the program's code page.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace tk {

enum class ClipboardRead {
  Text,    // `text` holds the clipboard's text (empty when it holds no text)
  Busy,    // another program holds the clipboard open; `text` is untouched
};

// Reads the clipboard's text. Text is read in Unicode and converted to the
// program's code page, so nothing the code page can hold is lost on the way.
// Only the first `maxUnits` UTF-16 units are converted (a surrogate pair is
// never split), so a huge clipboard costs one copy, not several.
ClipboardRead ReadClipboardText(HWND owner, std::string& text, size_t maxUnits = SIZE_MAX);

// Changes whenever anything is put on the clipboard.
inline DWORD ClipboardSequence() { return GetClipboardSequenceNumber(); }

}  // namespace tk
