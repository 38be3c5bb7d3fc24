// The shared clipboard, as another program would leave it for the one under
// test. Text goes in and comes out as CF_UNICODETEXT so nothing is lost to a
// code page; Windows synthesizes CF_TEXT for readers that ask for it.
#pragma once

#include <optional>
#include <string>

namespace vt {

bool SetClipboardText(const std::string& utf8);
bool ClearClipboard();
// Only a bitmap on the clipboard: text readers must find nothing.
bool SetClipboardBitmapOnly();
// nullopt when no text format is on the clipboard (or it cannot be opened).
std::optional<std::string> GetClipboardText();

}  // namespace vt
