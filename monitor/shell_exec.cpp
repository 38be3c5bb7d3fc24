#include "monitor/shell_exec.h"

#include <shellapi.h>

namespace ModShellExec {

bool OpenInBrowser(HWND owner, const std::string& target) {
  // Parameters and folder are real empty strings, not null pointers.
  HINSTANCE result = ShellExecuteA(owner, "Open", target.c_str(), "", "", SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace ModShellExec
