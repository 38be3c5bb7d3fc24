#include "toolkit/dll_search.h"

#include <commctrl.h>

#include <string>

namespace tk {

void LoadDllsFromSystemFolderOnly() {
  const auto setDefaultDllDirectories =
      EntryPoint<BOOL(WINAPI*)(DWORD)>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool LoadCommonControls(DWORD classes) {
  // A name without a path: the manifest's side-by-side redirection picks the
  // version, the flag keeps any search in the system folder.
  HMODULE library = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Where the flag is unknown (Windows 7 without KB2533623), a plain load
  // still finds the side-by-side copy before any folder is searched.
  if (!library && GetLastError() == ERROR_INVALID_PARAMETER) library = LoadLibraryW(L"comctl32.dll");
  if (!library) return false;
  // The theme library, which the common controls bring in, imports msimg32
  // only when first used. Wine 8 looks for such a DLL with the unrestricted
  // search (Windows does not); loaded from the system folder now, it is
  // found already loaded then.
  LoadSystemLibrary(L"msimg32.dll");
  const auto initCommonControlsEx =
      EntryPoint<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(library, "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX request{sizeof request, classes};
  return initCommonControlsEx && initCommonControlsEx(&request);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace tk
