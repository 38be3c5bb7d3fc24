// An open registry key, closed when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace vantisk {

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  // Opens an existing key; the result is empty when it cannot be opened.
  static RegKey Open(HKEY root, const char* path, REGSAM access) {
    RegKey key;
    if (RegOpenKeyExA(root, path, 0, access, &key.key_) != ERROR_SUCCESS) key.key_ = nullptr;
    return key;
  }

  // Opens the key, creating it and its parents where they are missing.
  static RegKey Create(HKEY root, const char* path, REGSAM access) {
    RegKey key;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, access, nullptr, &key.key_, nullptr) != ERROR_SUCCESS) {
      key.key_ = nullptr;
    }
    return key;
  }

  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

  HKEY key_ = nullptr;
};

}  // namespace vantisk
