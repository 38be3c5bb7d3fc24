// Tracking parameters: query parameters that say nothing about where a link
// goes and identify the person who received it. The names are the global
// ones of a public filter list, generated at build time, and those named in
// docs/privacy.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantisk {

struct TrackerRemoval {
  std::string href;                  // the address without tracking parameters
  std::vector<std::string> removed;  // their names, in order of appearance (each once)
};

// True for a tracking parameter's name, percent-decoded; case-sensitive.
bool IsTrackerName(std::string_view name);

// Takes the tracking parameters out of a parsed address's query (without its
// "?"), in place, and returns their names. Only whole parameters go; the rest
// stays in its order and form; a query left empty is no query at all.
std::vector<std::string> RemoveTrackersFromQuery(std::optional<std::string>& query);

// The same on an address as text; the fragment stays.
TrackerRemoval RemoveTrackers(std::string_view href);

// One line, e.g. "Tracking parameters taken out: utm_source, fbclid."; empty
// when nothing was taken out.
std::string RemovedTrackersNote(const std::vector<std::string>& removed);

}  // namespace vantisk
