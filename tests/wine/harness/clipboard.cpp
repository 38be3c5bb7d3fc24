#include "harness/clipboard.h"

#include "harness/handles.h"
#include "harness/text.h"
#include "harness/wait.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace vt {
namespace {

constexpr DWORD kOpenTimeoutMs = 3000;

// A message-only window: with no owner, EmptyClipboard would leave
// SetClipboardData failing.
HWND NewClipboardOwner() {
  return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Open clipboard for the lifetime of the object. Another program may hold it
// for a moment, so opening is retried.
class OpenClipboardSession {
 public:
  OpenClipboardSession() : owner_(NewClipboardOwner()) {
    open_ = owner_ && WaitUntil([this] { return OpenClipboard(owner_.get()) != 0; },
                                kOpenTimeoutMs, 10);
  }
  ~OpenClipboardSession() {
    if (open_) CloseClipboard();
  }
  OpenClipboardSession(const OpenClipboardSession&) = delete;
  OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;

  explicit operator bool() const { return open_; }

 private:
  vt::UniqueWindow owner_;  // destroyed after CloseClipboard (members go last)
  bool open_ = false;
};

vt::UniqueGlobal CopyToGlobal(const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  vt::UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return {};
  void* target = GlobalLock(memory.get());
  if (!target) return {};
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.get());
  return memory;
}

}  // namespace

vt::UniqueGlobal GlobalText(const std::string& utf8) { return CopyToGlobal(Widen(utf8)); }

HeldClipboard::HeldClipboard(const std::string& pending) : owner_(NewClipboardOwner()) {
  vt::UniqueGlobal memory = GlobalText(pending);
  open_ = owner_ && memory && WaitUntil([this] { return OpenClipboard(owner_.get()) != 0; }, kOpenTimeoutMs, 10);
  held_ = open_ && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory.get());
  if (held_) memory.release();  // the clipboard owns it now
}

HeldClipboard::~HeldClipboard() {
  if (open_) CloseClipboard();
}

bool SetClipboardText(const std::string& utf8) {
  vt::UniqueGlobal memory = GlobalText(utf8);
  const OpenClipboardSession clipboard;
  if (!memory || !clipboard || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}

bool ClearClipboard() {
  const OpenClipboardSession clipboard;
  return clipboard && EmptyClipboard();
}

bool SetClipboardBitmapOnly() {
  static const WORD kPixels[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  tk::GdiObject<> bitmap(CreateBitmap(8, 8, 1, 1, kPixels));
  const OpenClipboardSession clipboard;
  if (!bitmap || !clipboard || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_BITMAP, bitmap.get())) return false;
  bitmap.release();  // the clipboard owns it now
  return true;
}

std::optional<std::string> GetClipboardText() {
  const OpenClipboardSession clipboard;
  if (!clipboard || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  // The block may be larger than the string, or (written carelessly) lack
  // the terminator: never read past its size.
  const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  std::string result = Narrow({text, wcsnlen(text, capacity)});
  GlobalUnlock(data);
  return result;
}

}  // namespace vt
