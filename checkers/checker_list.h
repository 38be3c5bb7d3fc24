// The checker list as stored in section "data": "listcount" holds the last
// index (entries minus one, -1 for an empty list) and "list 0", "list 1", ...
// the entries. Keys above the count may remain from longer lists; they are
// left alone.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_access.h"

namespace vantisk {

// Indices and the count are 16-bit signed in the store.
inline constexpr int kMaxListIndex = 32767;

// Reads the list. An absent "listcount" is a first start: the starter list is
// saved at once and returned, unless "list 0" is already stored (a save cut
// short, a hand-edited store), which then reads as the unbroken run below. A
// count that is a number within -1..32767 is rounded half to even and used as stored (entry keys
// missing below it read as empty entries). A count that is not a number, or lies
// outside that range, is replaced by the last index of the unbroken run of stored
// entries from "list 0" on, so nothing stored is lost and the load stays fast.
std::vector<std::string> LoadCheckerList(SettingsAccess& store);

// Writes each entry under its key followed by its index as "listcount"; an
// empty list writes "-1".
void SaveCheckerList(SettingsAccess& store, const std::vector<std::string>& entries);

}  // namespace vantisk
