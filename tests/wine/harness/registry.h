// Registry access for tests: set up what the program will find, and check
// what it left behind. Text is UTF-8; the wide API is used underneath.
#pragma once

#include <windows.h>

// <windows.h> makes these names macros for the ANSI entry points. Left in
// place they would rename the functions below, and argument-dependent lookup
// would then let an unqualified call with a string literal reach the Win32
// function, whose ERROR_SUCCESS (0) reads as false. Call RegDeleteValueW/A
// and RegDeleteTreeW/A by their full names where the Win32 ones are meant.
#undef RegDeleteValue
#undef RegDeleteTree

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vt {

struct RegValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// Value of any type exactly as stored; nullopt if the key or value is absent.
std::optional<RegValue> RegGetRaw(HKEY root, const std::string& path, const std::string& name);
// REG_SZ / REG_EXPAND_SZ only (other types give nullopt). An empty string is
// a present, empty value; nullopt means absent. `name` "" is the default value.
std::optional<std::string> RegGetText(HKEY root, const std::string& path, const std::string& name);
std::optional<DWORD> RegGetDword(HKEY root, const std::string& path, const std::string& name);

// Setters create the key as needed and return false on failure.
bool RegSetText(HKEY root, const std::string& path, const std::string& name,
                const std::string& value);
bool RegSetDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
// For values no well-behaved writer would produce (wrong type, no terminator).
bool RegSetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
               std::span<const BYTE> bytes);

// Both succeed when there was nothing to delete.
bool RegDeleteValue(HKEY root, const std::string& path, const std::string& name);
bool RegDeleteTree(HKEY root, const std::string& path);
bool RegKeyExists(HKEY root, const std::string& path);

// The program's settings: one REG_SZ per key under HKCU\Software\Vantisk\<section>.
inline constexpr char kSettingsKey[] = "Software\\Vantisk";
std::optional<std::string> Setting(const std::string& section, const std::string& key);
bool SetSetting(const std::string& section, const std::string& key, const std::string& value);
bool ClearSettings();

}  // namespace vt
