// The shared clipboard, as another program would leave it for the one under
// test. Text goes in and comes out as CF_UNICODETEXT so nothing is lost to a
// code page; Windows synthesizes CF_TEXT for readers that ask for it.
#pragma once

#include <optional>
#include <string>

#include "harness/handles.h"

namespace vt {

bool SetClipboardText(const std::string& utf8);
bool ClearClipboard();
// Only a bitmap on the clipboard: text readers must find nothing.
bool SetClipboardBitmapOnly();
// nullopt when no text format is on the clipboard (or it cannot be opened).
std::optional<std::string> GetClipboardText();

// `utf8` as CF_UNICODETEXT data in a movable block, ready to hand over.
vt::UniqueGlobal GlobalText(const std::string& utf8);

// The clipboard held open, as a busy program holds it, with `pending` put on
// it but not yet released: readers find it busy until the object goes.
class HeldClipboard {
 public:
  explicit HeldClipboard(const std::string& pending);
  ~HeldClipboard();
  HeldClipboard(const HeldClipboard&) = delete;
  HeldClipboard& operator=(const HeldClipboard&) = delete;
  // False when the clipboard could not be opened or the text not put on it.
  explicit operator bool() const { return held_; }

 private:
  vt::UniqueWindow owner_;
  bool open_ = false;
  bool held_ = false;
};

}  // namespace vt
