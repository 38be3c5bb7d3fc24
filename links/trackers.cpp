#include "links/trackers.h"

#include <algorithm>
#include <array>
#include <set>

#include "links/percent.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

// The names a public filter list removes from every address, generated at
// build time (links/gen_trackers.py), sorted.
constexpr std::string_view kListedTrackers[] = {
#include "links/tracker_names.inc"
};

// Names that identify the person who received a link, which a check removes
// whether or not the list above names them.
constexpr auto kNamedTrackers = std::to_array<std::string_view>({
    "fbclid", "gclid", "dclid", "gbraid", "wbraid", "msclkid", "mc_cid", "mc_eid", "_hsenc", "_hsmi", "yclid",
    "igshid", "mkt_tok", "oly_enc_id", "oly_anon_id", "vero_id", "__s", "_openstat",
});

constexpr std::string_view kTrackerPrefix = "utm_";

// The name of a query item: everything before its first "=", or all of it.
std::string_view ItemName(std::string_view item) { return item.substr(0, item.find('=')); }

}  // namespace

bool IsTrackerName(std::string_view name) {
  return name.starts_with(kTrackerPrefix) ||
         std::binary_search(std::begin(kListedTrackers), std::end(kListedTrackers), name) ||
         std::find(kNamedTrackers.begin(), kNamedTrackers.end(), name) != kNamedTrackers.end();
}

std::vector<std::string> RemoveTrackersFromQuery(std::optional<std::string>& query) {
  std::vector<std::string> removed;
  if (!query) return removed;
  const std::string_view items = *query;
  std::vector<std::string_view> kept;
  std::set<std::string> seen;
  for (std::size_t at = 0; at <= items.size();) {
    const std::size_t end = std::min(items.find('&', at), items.size());
    const std::string_view item = items.substr(at, end - at);
    const std::string name = PercentDecode(ItemName(item));
    if (item.empty() || !IsTrackerName(name)) {
      kept.push_back(item);
    } else if (seen.insert(name).second) {
      removed.push_back(name);
    }
    at = end + 1;
  }
  if (removed.empty()) return removed;
  if (std::none_of(kept.begin(), kept.end(), [](std::string_view item) { return !item.empty(); })) {
    query.reset();
    return removed;
  }
  std::string out;
  for (std::size_t i = 0; i < kept.size(); ++i) (out += i == 0 ? "" : "&") += kept[i];
  *query = std::move(out);
  return removed;
}

TrackerRemoval RemoveTrackers(std::string_view href) {
  TrackerRemoval result{std::string(href), {}};
  const auto parts = SplitWebAddress(href);
  if (!parts) return result;
  const std::size_t restAt = href.size() - parts->rest.size();
  const std::size_t fragmentAt = std::min(href.find('#', restAt), href.size());
  const std::size_t queryAt = href.substr(0, fragmentAt).find('?', restAt);
  if (queryAt == std::string_view::npos) return result;

  std::optional<std::string> query(href.substr(queryAt + 1, fragmentAt - queryAt - 1));
  result.removed = RemoveTrackersFromQuery(query);
  if (result.removed.empty()) return result;
  std::string out(href.substr(0, queryAt));
  if (query) out.append("?").append(*query);
  out += href.substr(fragmentAt);
  result.href = std::move(out);
  return result;
}

std::string RemovedTrackersNote(const std::vector<std::string>& removed) {
  if (removed.empty()) return "";
  std::string note = removed.size() == 1 ? "Tracking parameter taken out: " : "Tracking parameters taken out: ";
  for (std::size_t i = 0; i < removed.size(); ++i) note += (i == 0 ? "" : ", ") + removed[i];
  return note + ".";
}

}  // namespace vantisk
