#include "settings/autostart.h"

#include "toolkit/handles.h"
#include "toolkit/wide.h"

namespace modSystray {
namespace {

using tk::RegKey;

void DeleteValue(HKEY root, const char* path, const std::string& name) {
  if (RegKey key = tk::OpenRegKey(root, tk::Widen(path).c_str(), KEY_WRITE)) RegDeleteValueW(key.get(), tk::Widen(name).c_str());
}

// True when the key could be opened for writing and the value was set.
bool SetValue(HKEY root, const char* path, const std::string& name, const std::string& command) {
  RegKey key = tk::OpenRegKey(root, tk::Widen(path).c_str(), KEY_WRITE);
  if (!key) return false;
  const std::wstring text = tk::Widen(command);
  return RegSetValueExW(key.get(), tk::Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool HasValue(HKEY root, const char* path, const std::string& name) {
  const RegKey key = tk::OpenRegKey(root, tk::Widen(path).c_str(), KEY_QUERY_VALUE);
  return key && RegQueryValueExW(key.get(), tk::Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

void EnableAutostart(const std::string& command, const std::string& name, AutostartRoots roots) {
  DeleteValue(roots.machine, kParkingKey, name);
  if (SetValue(roots.machine, kRunKey, name, command)) {
    // An earlier per-user entry would start the program a second time.
    DeleteValue(roots.user, kRunKey, name);
  } else {
    SetValue(roots.user, kRunKey, name, command);
  }
}

bool DisableAutostart(const std::string& command, const std::string& name, AutostartRoots roots) {
  DeleteValue(roots.machine, kRunKey, name);
  DeleteValue(roots.user, kRunKey, name);
  SetValue(roots.machine, kParkingKey, name, command);
  return !HasValue(roots.machine, kRunKey, name) && !HasValue(roots.user, kRunKey, name);
}

}  // namespace modSystray
