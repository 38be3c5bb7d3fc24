// Reading one registry value whole, however long it is.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tk {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<char> data;  // as stored: a text is UTF-16 and may or may not end in its NUL
};

// The value `name` of an open key (nullptr names the key's default value), or
// nothing when there is no such value or it cannot be read.
std::optional<RegistryValue> ReadRegistryValue(HKEY key, const wchar_t* name);

// A text value's UTF-16 units as stored (a final NUL included, if stored with one).
std::wstring StoredUnits(const RegistryValue& value);

// A text value as UTF-8, ending at its first NUL; a value stored without one is
// still read whole.
std::string RegistryText(const RegistryValue& value);

}  // namespace tk
