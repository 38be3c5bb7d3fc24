// The per-user settings store: HKEY_CURRENT_USER\Software\<product name>\<section>,
// one REG_SZ value per key, named as the key. Nothing is cached: every read
// goes to the registry and every write is made at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_access.h"
#include "toolkit/handles.h"

namespace vantisk {

// The stored text, or `defaultValue` when the key is absent. A stored empty
// text is returned as it is.
std::string GetSetting(std::string_view section, std::string_view key, std::string_view defaultValue = {});

// The stored text, or nothing when the key is absent. A value stored by hand
// with a number type reads as its decimal text; other non-text types read as
// absent.
std::optional<std::string> ReadSetting(std::string_view section, std::string_view key);

// Stores the text, creating the key and its section as needed. A failure is
// not reported: the program has no way to do better.
void SaveSetting(std::string_view section, std::string_view key, std::string_view value);

// The store as the checker list reads it, value by value: the section last
// read from stays open for the next read (each read still goes to the registry).
class RegistrySettings final : public SettingsAccess {
 public:
  std::optional<std::string> Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    SaveSetting(section, key, value);
  }

 private:
  std::string openSection_;
  tk::RegKey openKey_;
};

}  // namespace vantisk
