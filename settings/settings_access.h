// Reading and writing single settings, as the program's logic sees them: the
// registry-backed store in the program, an in-memory map in unit tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantisk {

class SettingsAccess {
 public:
  virtual ~SettingsAccess() = default;
  // The stored text, or nothing when the key is absent (an empty stored text
  // is present and empty).
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace vantisk
