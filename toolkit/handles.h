// Owners for the Win32 handles the program uses (the Windows-side tests add
// their own in tests/wine/harness/handles.h).
// Each handle has exactly one owner and is released once, on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tk {

// Calls `Release` on a handle that is not null; unique_ptr never calls it on null.
template <auto Release>
struct Releaser {
  template <typename Handle>
  void operator()(Handle handle) const noexcept {
    Release(handle);
  }
};

template <typename Handle, auto Release>
using Unique = std::unique_ptr<std::remove_pointer_t<Handle>, Releaser<Release>>;

// A kernel object (process, thread, mutex, event, file, mapping). CreateFile
// reports failure as INVALID_HANDLE_VALUE, most others as null: OwnHandle folds
// both into an empty owner, so every check at a call site is the same.
using UniqueHandle = Unique<HANDLE, &CloseHandle>;
inline UniqueHandle OwnHandle(HANDLE handle) { return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

// An open registry key.
using RegKey = Unique<HKEY, &RegCloseKey>;

// Opens an existing key; empty when it cannot be opened.
inline RegKey OpenRegKey(HKEY root, const wchar_t* path, REGSAM access) {
  HKEY key = nullptr;
  return RegKey(RegOpenKeyExW(root, path, 0, access, &key) == ERROR_SUCCESS ? key : nullptr);
}

// Opens the key, creating it and its parents where they are missing.
inline RegKey CreateRegKey(HKEY root, const wchar_t* path, REGSAM access) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr);
  return RegKey(status == ERROR_SUCCESS ? key : nullptr);
}

// A font, pen, brush or bitmap that the program created.
template <typename Handle = HGDIOBJ>
using GdiObject = Unique<Handle, &DeleteObject>;
using MenuHandle = Unique<HMENU, &DestroyMenu>;
using IconHandle = Unique<HICON, &DestroyIcon>;

// A device context obtained with GetDC, released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() { if (dc_) ReleaseDC(window_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for one scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace tk
