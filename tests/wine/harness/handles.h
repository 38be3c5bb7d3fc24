// RAII owners for the Win32 handles the harness and its tests touch.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vt {

struct KernelHandleCloser {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
// Holds a kernel handle; never holds INVALID_HANDLE_VALUE (see OwnHandle).
using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;

// CreateFile reports failure as INVALID_HANDLE_VALUE, most others as null;
// folding both into an empty owner keeps the checks at call sites uniform.
inline UniqueHandle OwnHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct RegKeyCloser {
  void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

struct WindowDestroyer {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
// Only for windows created by the thread that destroys them.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
using UniqueGdiObject = std::unique_ptr<void, GdiObjectDeleter>;

struct HookRemover {
  void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover>;

struct GlobalFreer {
  void operator()(HGLOBAL memory) const noexcept { GlobalFree(memory); }
};
using UniqueGlobal = std::unique_ptr<void, GlobalFreer>;

struct ViewUnmapper {
  void operator()(void* view) const noexcept { UnmapViewOfFile(view); }
};
using UniqueView = std::unique_ptr<void, ViewUnmapper>;

struct MenuDestroyer {
  void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

}  // namespace vt
