// Reading one registry value whole, however long it is.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace tk {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<char> data;  // as stored: a text may or may not end in its NUL
};

// The value `name` of an open key (nullptr names the key's default value), or
// nothing when there is no such value or it cannot be read.
std::optional<RegistryValue> ReadRegistryValue(HKEY key, const char* name);

}  // namespace tk
