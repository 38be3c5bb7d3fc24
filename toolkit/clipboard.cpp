#include "toolkit/clipboard.h"

#include <cwchar>
#include <utility>

#include "toolkit/wide.h"

namespace tk {
namespace {

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() { if (open_) CloseClipboard(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  ~LockedGlobal() { if (data_) GlobalUnlock(memory_); }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  const void* data() const { return data_; }
  size_t size() const { return memory_ ? GlobalSize(memory_) : 0; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// The length to convert: at most `maxUnits`, one less where the cut would
// leave the first half of a surrogate pair behind.
size_t CutLength(const wchar_t* wide, size_t length, size_t maxUnits) {
  if (length <= maxUnits) return length;
  if (maxUnits > 0 && IS_HIGH_SURROGATE(wide[maxUnits - 1])) return maxUnits - 1;
  return maxUnits;
}

}  // namespace

ClipboardRead ReadClipboardText(HWND owner, std::string& text, size_t maxUnits, bool* cut) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return ClipboardRead::Busy;
  LockedGlobal data(GetClipboardData(CF_UNICODETEXT));
  if (!data.data()) {
    text.clear();
    if (cut) *cut = false;
    return ClipboardRead::Text;
  }
  // The data need not be terminated: never read past its block.
  const auto* wide = static_cast<const wchar_t*>(data.data());
  const size_t length = wcsnlen(wide, data.size() / sizeof(wchar_t));
  // The old text goes before the new one is made: never two large copies at once.
  std::string().swap(text);
  text = Narrow(std::wstring_view(wide, CutLength(wide, length, maxUnits)));
  if (cut) *cut = length > maxUnits;
  return ClipboardRead::Text;
}

ClipboardWatch::~ClipboardWatch() {
  if (listener_ && IsWindow(listener_)) RemoveClipboardFormatListener(listener_);
}

void ClipboardWatch::Listen(HWND window) {
  if (!listener_ && AddClipboardFormatListener(window)) listener_ = window;
}

bool ClipboardWatch::TakeChange() {
  if (listener_) return std::exchange(changed_, false);
  const DWORD sequence = GetClipboardSequenceNumber();
  if (sequence_ == sequence) return false;
  sequence_ = sequence;
  return true;
}

void ClipboardWatch::GiveBack() {
  changed_ = true;
  sequence_.reset();
}

}  // namespace tk
