#include "monitor/shell_exec.h"

#include <shellapi.h>

#include <cstring>

#include "links/web_address.h"
#include "toolkit/handles.h"
#include "toolkit/registry.h"

namespace ModShellExec {
namespace {

// Wine's ShellExecute builds the browser's command line, address included, in
// fixed buffers of 1024 characters and runs past their end for longer ones,
// which takes the program down. Windows has no such limit.
constexpr size_t kWineCommandLineLimit = 1024;

bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Length of the command registered to open the target's scheme, 0 if none is.
size_t BrowserCommandLength(const std::string& target) {
  const std::string key = target.substr(0, target.find(':')) + "\\shell\\open\\command";
  const tk::RegKey command = tk::OpenRegKey(HKEY_CLASSES_ROOT, key.c_str(), KEY_QUERY_VALUE);
  const std::optional<tk::RegistryValue> value = command ? tk::ReadRegistryValue(command.get(), nullptr) : std::nullopt;
  return value ? strnlen(value->data.data(), value->data.size()) : 0;
}

bool ShellCanTake(const std::string& target) {
  return !RunsUnderWine() || target.size() + BrowserCommandLength(target) < kWineCommandLineLimit;
}

}  // namespace

bool OpenInBrowser(HWND owner, const std::string& target) {
  // Only a web address is ever handed to the shell, which would run a program's name.
  if (!vantisk::IsShellSafeWebAddress(target) || !ShellCanTake(target)) return false;
  // Parameters and folder are real empty strings, not null pointers.
  HINSTANCE result = ShellExecuteA(owner, "Open", target.c_str(), "", "", SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace ModShellExec
