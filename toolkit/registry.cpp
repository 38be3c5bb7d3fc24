#include "toolkit/registry.h"

namespace tk {

std::optional<RegistryValue> ReadRegistryValue(HKEY key, const char* name) {
  RegistryValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
  // The value may grow between the two calls; ask again until it fits.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    value.data.resize(size);
    status = RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()), &size);
    if (status == ERROR_SUCCESS) {
      value.data.resize(size);
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace tk
