#include "checkers/checker_list.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "checkers/starter_checkers.h"
#include "settings/number_form.h"

namespace vantisk {
namespace {

constexpr std::string_view kSection = "data";
constexpr std::string_view kCountKey = "listcount";

// The stored last index when it is a usable number, else nothing.
std::optional<int> StoredLastIndex(const std::string& countText) {
  if (!IsNumeric(countText)) return std::nullopt;
  const double lastIndex = RoundHalfEven(ParseNumber(countText));
  if (lastIndex < -1 || lastIndex > kMaxListIndex) return std::nullopt;
  return static_cast<int>(lastIndex);
}

std::vector<std::string> ReadUpToIndex(SettingsAccess& store, int lastIndex) {
  std::vector<std::string> entries;
  for (int index = 0; index <= lastIndex; ++index) {
    entries.push_back(store.Read(kSection, ListKey(index)).value_or(""));
  }
  return entries;
}

std::vector<std::string> ReadUnbrokenRun(SettingsAccess& store) {
  std::vector<std::string> entries;
  for (int index = 0; index <= kMaxListIndex; ++index) {
    std::optional<std::string> entry = store.Read(kSection, ListKey(index));
    if (!entry) break;
    entries.push_back(std::move(*entry));
  }
  return entries;
}

// Entries stored without a count are kept: only a store holding no list at
// all gets the starter list.
std::vector<std::string> FirstStartList(SettingsAccess& store) {
  std::vector<std::string> entries = ReadUnbrokenRun(store);
  if (!entries.empty()) return entries;
  entries = StarterCheckers();
  SaveCheckerList(store, entries);
  return entries;
}

}  // namespace

std::vector<std::string> LoadCheckerList(SettingsAccess& store) {
  const std::optional<std::string> countText = store.Read(kSection, kCountKey);
  if (!countText) return FirstStartList(store);
  if (const std::optional<int> lastIndex = StoredLastIndex(*countText)) return ReadUpToIndex(store, *lastIndex);
  return ReadUnbrokenRun(store);
}

// The count follows each entry, so a save cut short still leaves a list that
// loads. Entries past the largest index the store can count are not written:
// no load would ever read them back.
void SaveCheckerList(SettingsAccess& store, const std::vector<std::string>& entries) {
  if (entries.empty()) {
    store.Write(kSection, kCountKey, "-1");
    return;
  }
  const std::size_t storable = std::min(entries.size(), static_cast<std::size_t>(kMaxListIndex) + 1);
  for (std::size_t index = 0; index < storable; ++index) {
    store.Write(kSection, ListKey(static_cast<int>(index)), entries[index]);
    store.Write(kSection, kCountKey, FormatNumber(static_cast<double>(index)));
  }
}

}  // namespace vantisk
