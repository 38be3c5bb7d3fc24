#include "checkers/starter_checkers.h"

namespace vantisk {

// Each service gets the placeholder its result page is addressed by: a whole
// address where the page reports on one, the host where it reports on a site,
// and the registrable domain where it reports on a domain's reputation (a new
// subdomain of a phishing domain has none of its own).
// The order is the one the list shows, safe-browsing verdicts first.
std::vector<std::string> StarterCheckers() {
  return {
      "https://transparencyreport.google.com/safe-browsing/search?url={url}",
      "https://www.virustotal.com/gui/domain/{host}/details",
      "https://urlscan.io/domain/{host}",
      "https://sitecheck.sucuri.net/results/{host}",
      "https://www.urlvoid.com/scan/{domain}",
      "https://talosintelligence.com/reputation_center/lookup?search={domain}",
      "https://urlhaus.abuse.ch/host/{host}/",
      "https://web.archive.org/web/*/{url}",
  };
}

}  // namespace vantisk
