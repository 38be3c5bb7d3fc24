#include "toolkit/shell.h"

#include "toolkit/dll_search.h"

namespace tk {
namespace {

struct ShellFunctions {
  BOOL(WINAPI* notifyIcon)(DWORD, NOTIFYICONDATAW*);
  BOOL(WINAPI* executeEx)(SHELLEXECUTEINFOW*);
};

// Loaded once and kept for the program's life, as an import would be.
const ShellFunctions& Shell() {
  static const ShellFunctions functions = [] {
    const HMODULE shell32 = LoadSystemLibrary(L"shell32.dll");
    return ShellFunctions{EntryPoint<decltype(ShellFunctions::notifyIcon)>(shell32, "Shell_NotifyIconW"),
                          EntryPoint<decltype(ShellFunctions::executeEx)>(shell32, "ShellExecuteExW")};
  }();
  return functions;
}

}  // namespace

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  return Shell().notifyIcon ? Shell().notifyIcon(message, data) : FALSE;
}

BOOL ShellExecuteEx(SHELLEXECUTEINFOW* request) {
  if (Shell().executeEx) return Shell().executeEx(request);
  SetLastError(ERROR_DLL_NOT_FOUND);
  return FALSE;
}

}  // namespace tk
