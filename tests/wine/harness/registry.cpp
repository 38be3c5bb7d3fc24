#include "harness/registry.h"

#include "toolkit/handles.h"
#include "harness/text.h"

#include <cstring>
#include <cwchar>

namespace vt {
namespace {

tk::RegKey OpenKey(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Widen(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return tk::RegKey(key);
}

tk::RegKey CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExW(root, Widen(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                      nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return {};
  return tk::RegKey(key);
}

bool IsGone(LONG status) {
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ||
         status == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::optional<RegValue> RegGetRaw(HKEY root, const std::string& path, const std::string& name) {
  const tk::RegKey key = OpenKey(root, path, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  const std::wstring valueName = Widen(name);
  RegValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &value.type, value.data.data(),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

std::optional<std::string> RegGetText(HKEY root, const std::string& path,
                                      const std::string& name) {
  const std::optional<RegValue> value = RegGetRaw(root, path, name);
  if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
  // Stored strings need not be terminated, nor end at the first NUL.
  std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
  text.resize(std::wcslen(text.c_str()));
  return Narrow(text);
}

std::optional<DWORD> RegGetDword(HKEY root, const std::string& path, const std::string& name) {
  const std::optional<RegValue> value = RegGetRaw(root, path, name);
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) {
    return std::nullopt;
  }
  DWORD number = 0;
  std::memcpy(&number, value->data.data(), sizeof number);
  return number;
}

bool RegSetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
               std::span<const BYTE> bytes) {
  const tk::RegKey key = CreateKey(root, path);
  if (!key) return false;
  return RegSetValueExW(key.get(), Widen(name).c_str(), 0, type, bytes.data(),
                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool RegSetText(HKEY root, const std::string& path, const std::string& name,
                const std::string& value) {
  const std::wstring text = Widen(value);
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return RegSetRaw(root, path, name, REG_SZ, {bytes, (text.size() + 1) * sizeof(wchar_t)});
}

bool RegSetDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
  return RegSetRaw(root, path, name, REG_DWORD,
                   {reinterpret_cast<const BYTE*>(&value), sizeof value});
}

bool RegDeleteValue(HKEY root, const std::string& path, const std::string& name) {
  const tk::RegKey key = OpenKey(root, path, KEY_SET_VALUE);
  if (!key) return !RegKeyExists(root, path);
  return IsGone(RegDeleteValueW(key.get(), Widen(name).c_str()));
}

bool RegDeleteTree(HKEY root, const std::string& path) {
  return IsGone(RegDeleteTreeW(root, Widen(path).c_str())) &&
         IsGone(RegDeleteKeyW(root, Widen(path).c_str()));
}

bool RegKeyExists(HKEY root, const std::string& path) {
  return OpenKey(root, path, KEY_READ) != nullptr;
}

std::optional<std::string> Setting(const std::string& section, const std::string& key) {
  return RegGetText(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\" + section, key);
}

bool SetSetting(const std::string& section, const std::string& key, const std::string& value) {
  return RegSetText(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\" + section, key, value);
}

bool ClearSettings() { return RegDeleteTree(HKEY_CURRENT_USER, kSettingsKey); }

}  // namespace vt
