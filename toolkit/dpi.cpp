#include "toolkit/dpi.h"

#include "toolkit/dll_search.h"
#include "toolkit/handles.h"

namespace tk {
namespace {

// Entry points of newer Windows versions, looked up once so that the program
// still starts on Windows 7.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <typename Fn>
Fn User32Entry(const char* name) {
  return EntryPoint<Fn>(GetModuleHandleW(L"user32.dll"), name);
}

int SystemDpi() {
  const WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int DpiForWindow(HWND window) {
  static const auto getDpiForWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi = User32Entry<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi) {
    adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

}  // namespace tk
