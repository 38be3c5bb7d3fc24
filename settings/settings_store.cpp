#include "settings/settings_store.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "product.h"
#include "toolkit/handles.h"
#include "toolkit/registry.h"
#include "toolkit/wide.h"

namespace vantisk {
namespace {

std::wstring SectionPath(std::string_view section) {
  std::string path = "Software\\";
  path += kProductName;
  path += '\\';
  path += section;
  return tk::Widen(path);
}

std::optional<std::string> Interpret(const tk::RegistryValue& value) {
  const std::vector<char>& data = value.data;
  switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
      return tk::RegistryText(value);
    case REG_DWORD:
      if (data.size() < sizeof(std::uint32_t)) return std::nullopt;
      {
        std::uint32_t number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        return std::to_string(number);
      }
    case REG_QWORD:
      if (data.size() < sizeof(std::uint64_t)) return std::nullopt;
      {
        std::uint64_t number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        return std::to_string(number);
      }
    default:
      return std::nullopt;
  }
}

std::optional<std::string> ReadFrom(HKEY sectionKey, std::string_view key) {
  const std::optional<tk::RegistryValue> value = tk::ReadRegistryValue(sectionKey, tk::Widen(key).c_str());
  if (!value) return std::nullopt;
  return Interpret(*value);
}

tk::RegKey OpenSection(std::string_view section) {
  return tk::OpenRegKey(HKEY_CURRENT_USER, SectionPath(section).c_str(), KEY_QUERY_VALUE);
}

}  // namespace

std::optional<std::string> ReadSetting(std::string_view section, std::string_view key) {
  const tk::RegKey sectionKey = OpenSection(section);
  if (!sectionKey) return std::nullopt;
  return ReadFrom(sectionKey.get(), key);
}

std::string GetSetting(std::string_view section, std::string_view key, std::string_view defaultValue) {
  std::optional<std::string> stored = ReadSetting(section, key);
  return stored ? std::move(*stored) : std::string(defaultValue);
}

void SaveSetting(std::string_view section, std::string_view key, std::string_view value) {
  tk::RegKey sectionKey = tk::CreateRegKey(HKEY_CURRENT_USER, SectionPath(section).c_str(), KEY_SET_VALUE);
  if (!sectionKey) return;
  const std::wstring text = tk::Widen(value);
  RegSetValueExW(sectionKey.get(), tk::Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A section that does not exist yet is looked for again at the next read: a
// write in between may have made it.
std::optional<std::string> RegistrySettings::Read(std::string_view section, std::string_view key) {
  if (!openKey_ || section != openSection_) {
    openKey_ = OpenSection(section);
    openSection_ = section;
  }
  if (!openKey_) return std::nullopt;
  return ReadFrom(openKey_.get(), key);
}

}  // namespace vantisk
