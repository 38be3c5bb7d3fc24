#include "toolkit/registry.h"

#include <cstring>

#include "toolkit/wide.h"

namespace tk {

std::optional<RegistryValue> ReadRegistryValue(HKEY key, const wchar_t* name) {
  RegistryValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
  // The value may grow between the two calls; ask again until it fits.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    value.data.resize(size);
    status = RegQueryValueExW(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()), &size);
    if (status == ERROR_SUCCESS) {
      value.data.resize(size);
      return value;
    }
  }
  return std::nullopt;
}

std::wstring StoredUnits(const RegistryValue& value) {
  // An odd last byte belongs to no unit.
  std::wstring units(value.data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(units.data(), value.data.data(), units.size() * sizeof(wchar_t));
  return units;
}

std::string RegistryText(const RegistryValue& value) {
  std::wstring units = StoredUnits(value);
  units.resize(wcsnlen(units.c_str(), units.size()));
  return Narrow(units);
}

}  // namespace tk
