#include "links/trackers.h"

#include <algorithm>
#include <array>
#include <set>

#include "links/percent.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

// Every name that AdGuard's URL Tracking filter removes on all sites without
// a condition (TrackParamFilter/sections/general_url.txt, plain
// "$removeparam=NAME" rules), and dclid, mc_cid, _hsmi, igshid and __s, which
// other well-kept lists name. Any "utm_" name counts as well (kTrackerPrefix).
constexpr auto kTrackerNames = std::to_array<std::string_view>({
    "__hsfp", "__hssc", "__hstc", "__io_lv", "__s", "_branch_match_id", "_clde", "_cldee", "_ga", "_gl", "_hsenc",
    "_hsmi", "_io_session_id", "_kx", "_openstat", "_sgm_action", "_sgm_campaign", "_sgm_source", "_zucks_suid",
    "action_object_map", "action_ref_map", "action_type_map", "adfrom", "adjust_adgroup", "adjust_campaign",
    "adjust_creative", "adjust_referrer", "adjust_tracker", "adjust_tracker_limit", "admitad_uid", "aiad_clid",
    "asgtbndr", "awc", "bsft_aaid", "bsft_clkid", "bsft_eid", "bsft_ek", "bsft_mid", "bsft_uid", "cm_cr", "cm_me",
    "cmpid", "cuid", "cx_click", "cx_recsOrder", "cx_recsWidget", "dclid", "dpg_campaign", "dpg_content",
    "dpg_medium", "dpg_source", "ebisAdID", "erid", "external_click_id", "famad_xuid", "fb_action_ids",
    "fb_action_types", "fb_comment_id", "fb_ref", "fb_source", "fbclid", "gbraid", "gci", "gclid", "gclsrc",
    "gps_adid", "guccounter", "guce_referrer", "guce_referrer_sig", "hsCtaTracking", "hsa_acc", "hsa_ad", "hsa_cam",
    "hsa_grp", "hsa_kw", "hsa_la", "hsa_mt", "hsa_net", "hsa_ol", "hsa_src", "hsa_tgt", "hsa_ver", "igshid",
    "ir_adid", "ir_campaignid", "ir_partnerid", "irclickid", "irgwc", "itm_campaign", "itm_content", "itm_medium",
    "itm_source", "itm_term", "maf", "mc_cid", "mc_eid", "mindbox-click-id", "mindbox-message-key", "mkt_tok",
    "ml_subscriber", "ml_subscriber_hash", "msclkid", "mtm_campaign", "mtm_cid", "mtm_content", "mtm_group",
    "mtm_keyword", "mtm_medium", "mtm_placement", "mtm_source", "nx_source", "oly_anon_id", "oly_enc_id",
    "oprtrack", "pk_campaign", "pk_medium", "pk_source", "pk_vid", "rb_clickid", "rtkcid", "s_cid", "sscid",
    "tduid", "twclid", "unicorn_click_id", "user_email_address", "usqp", "vc_lpp", "vero_conv", "vero_id",
    "wbraid", "wickedid", "wt_mc", "xtor", "yclid", "ymid", "ysclid",
});

constexpr std::string_view kTrackerPrefix = "utm_";

// The name of a query item: everything before its first "=", or all of it.
std::string_view ItemName(std::string_view item) { return item.substr(0, item.find('=')); }

}  // namespace

bool IsTrackerName(std::string_view name) {
  return name.starts_with(kTrackerPrefix) || std::find(kTrackerNames.begin(), kTrackerNames.end(), name) != kTrackerNames.end();
}

TrackerRemoval RemoveTrackers(std::string_view href) {
  TrackerRemoval result{std::string(href), {}};
  const auto parts = SplitWebAddress(href);
  if (!parts) return result;
  const std::size_t restAt = href.size() - parts->rest.size();
  const std::size_t fragmentAt = std::min(href.find('#', restAt), href.size());
  const std::size_t queryAt = href.substr(0, fragmentAt).find('?', restAt);
  if (queryAt == std::string_view::npos) return result;

  const std::string_view query = href.substr(queryAt + 1, fragmentAt - queryAt - 1);
  std::vector<std::string_view> kept;
  std::set<std::string> seen;
  for (std::size_t at = 0; at <= query.size();) {
    const std::size_t end = std::min(query.find('&', at), query.size());
    const std::string_view item = query.substr(at, end - at);
    const std::string name = PercentDecode(ItemName(item));
    if (item.empty() || !IsTrackerName(name)) {
      kept.push_back(item);
    } else if (seen.insert(name).second) {
      result.removed.push_back(name);
    }
    at = end + 1;
  }
  if (result.removed.empty()) return result;
  std::string out(href.substr(0, queryAt));
  if (std::any_of(kept.begin(), kept.end(), [](std::string_view item) { return !item.empty(); })) {
    for (std::size_t i = 0; i < kept.size(); ++i) (out += i == 0 ? '?' : '&') += kept[i];
  }
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
