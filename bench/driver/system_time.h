// The system clock at the best resolution Windows offers, in 100 ns units
// since 1601: one clock for the driver and the processes it times.
#pragma once

#include <windows.h>

#include <cstdint>

namespace bench {

inline std::uint64_t FileTimeTicks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The build targets Windows 7, whose headers leave out the precise clock
// (Windows 8 and Wine have it): it is looked up at run time.
inline std::uint64_t SystemTimeNow() {
  using Reader = void(WINAPI*)(FILETIME*);
  static const auto precise = reinterpret_cast<Reader>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  FILETIME now{};
  if (precise) {
    precise(&now);
  } else {
    GetSystemTimeAsFileTime(&now);
  }
  return FileTimeTicks(now);
}

}  // namespace bench
