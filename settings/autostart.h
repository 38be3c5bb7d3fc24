// Starting the program at logon through the Run key. Switching on moves the
// value from the parking key (the Run key's path followed by "-") into the
// machine-wide Run key; switching off moves it back. Keys are opened, never
// created. Where the machine-wide Run key cannot be written, the per-user Run
// key takes the value instead, so that the switch never claims what it did not do.
#pragma once

#include <windows.h>

#include <string>

namespace modSystray {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kParkingKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run-";

// The roots the Run keys are opened under; tests give other roots.
struct AutostartRoots {
  HKEY machine = HKEY_LOCAL_MACHINE;
  HKEY user = HKEY_CURRENT_USER;
};

void EnableAutostart(const std::string& command, const std::string& name, AutostartRoots roots = {});
// True when no Run key holds the value any more. False when the machine-wide
// value stays because this user may not remove it (an administrator's run of
// the program wrote it): the program then still starts at logon.
bool DisableAutostart(const std::string& command, const std::string& name, AutostartRoots roots = {});

}  // namespace modSystray
