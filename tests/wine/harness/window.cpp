#include "harness/window.h"

#include "harness/text.h"
#include "harness/wait.h"

#include <algorithm>
#include <memory>

namespace vt {
namespace {

struct EnumState {
  DWORD pid;
  std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  const auto* state = reinterpret_cast<EnumState*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (state->pid == 0 || owner == state->pid) state->windows->push_back(window);
  return TRUE;
}

void CollectMessageOnlyWindows(DWORD pid, std::vector<HWND>& windows) {
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (pid == 0 || owner == pid) windows.push_back(window);
  }
}

}  // namespace

std::vector<HWND> TopWindows(DWORD pid) {
  std::vector<HWND> windows;
  EnumState state{pid, &windows};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
  CollectMessageOnlyWindows(pid, windows);
  return windows;
}

HWND FindTopWindow(const std::string& className, DWORD pid) {
  for (HWND window : TopWindows(pid)) {
    if (ClassName(window) == className) return window;
  }
  return nullptr;
}

HWND WaitForTopWindow(const std::string& className, DWORD pid, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(className, pid)) != nullptr; }, timeoutMs);
  return found;
}

std::string ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return length > 0 ? Narrow({name, static_cast<size_t>(length)}) : std::string();
}

std::optional<LRESULT> SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 DWORD timeoutMs) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs,
                           &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

// A send that timed out is not withdrawn: a window of this process (where
// no copy is marshalled) may still write to or read from the buffer later.
// So buffers are heap blocks that a timed-out send leaves allocated.
std::string WindowText(HWND window, DWORD timeoutMs) {
  const std::optional<LRESULT> length = SendTimed(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
  if (!length || *length <= 0) return {};
  const size_t capacity = static_cast<size_t>(*length) + 1;
  auto buffer = std::make_unique<wchar_t[]>(capacity);
  const std::optional<LRESULT> copied = SendTimed(
      window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer.get()), timeoutMs);
  if (!copied) {
    buffer.release();  // see above
    return {};
  }
  return Narrow({buffer.get(), std::min(static_cast<size_t>(std::max<LRESULT>(*copied, 0)),
                                        capacity - 1)});
}

bool Responds(HWND window, DWORD timeoutMs) {
  return SendTimed(window, WM_NULL, 0, 0, timeoutMs).has_value();
}

HWND Control(HWND form, int id) { return GetDlgItem(form, id); }

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

UINT WindowDpi(HWND window) {
  // GetDpiForWindow is Windows 10+; the build targets Windows 7 headers.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = getDpi ? getDpi(window) : 0;
  return dpi ? dpi : 96;
}

SIZE ClientSizeTwips(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const int dpi = static_cast<int>(WindowDpi(window));
  return {MulDiv(client.right - client.left, 1440, dpi),
          MulDiv(client.bottom - client.top, 1440, dpi)};
}

bool Click(HWND button) { return PostMessageW(button, BM_CLICK, 0, 0) != FALSE; }

bool SetText(HWND edit, const std::string& text, DWORD timeoutMs) {
  const std::wstring wide = Widen(text);
  auto buffer = std::make_unique<wchar_t[]>(wide.size() + 1);
  std::copy(wide.begin(), wide.end(), buffer.get());
  const std::optional<LRESULT> result =
      SendTimed(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer.get()), timeoutMs);
  if (!result) buffer.release();  // see WindowText
  return result && *result == TRUE;
}

std::vector<std::string> ListBoxItems(HWND list, DWORD timeoutMs) {
  std::vector<std::string> items;
  const auto count = static_cast<int>(SendTimed(list, LB_GETCOUNT, 0, 0, timeoutMs).value_or(0));
  for (int i = 0; i < count; ++i) {
    const auto index = static_cast<WPARAM>(i);
    const auto length = static_cast<int>(SendTimed(list, LB_GETTEXTLEN, index, 0, timeoutMs).value_or(LB_ERR));
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    // LB_GETTEXT takes no buffer size: the buffer is sized from LB_GETTEXTLEN.
    if (length > 0) SendTimed(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()), timeoutMs);
    text.resize(static_cast<size_t>(std::max(length, 0)));
    items.push_back(Narrow(text));
  }
  return items;
}

}  // namespace vt
