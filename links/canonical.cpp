#include "links/canonical.h"

#include "links/ascii.h"
#include "links/host.h"
#include "links/idna.h"
#include "links/percent.h"
#include "links/public_suffix.h"
#include "links/trackers.h"
#include "links/url.h"
#include "links/utf8.h"
#include "links/web_address.h"

#include <algorithm>

namespace vantisk {
namespace {

// The site that transitional processing reads the host as written as, where
// that is another one ("stra\u00DFe.de" reads "strasse.de"): the host
// parser's steps with TransitionalReading for DomainToAscii. Empty when
// there is none, or when a browser would refuse that reading.
std::string OtherReading(std::string_view writtenHost) {
  std::string domain = ToUtf8(ToCodePoints(PercentDecode(writtenHost)));
  std::erase_if(domain, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
  const std::optional<std::string> other = TransitionalReading(domain);
  if (!other || std::any_of(other->begin(), other->end(), IsForbiddenDomainCodePoint)) return {};
  return *other;
}

void DescribeHost(const WebUrl& url, std::string_view writtenHost, LinkFacts& facts) {
  facts.host = url.host;
  facts.writtenHost = std::string(writtenHost);
  facts.hostIsIp = url.hostKind != HostKind::Domain;
  facts.hostWasNumberInDisguise = url.hostKind == HostKind::Ipv4 && LowerAscii(writtenHost) != url.host;
  if (facts.hostIsIp) return;
  if (const auto domain = RegistrableDomain(url.host)) facts.registrableDomain = std::string(*domain);
  facts.hiddenName = FindHiddenName(url.host);
  facts.otherReading = OtherReading(writtenHost);
  if (std::string unicode = DomainToUnicode(url.host); unicode != url.host) {
    facts.mixedScripts = DomainMixesScripts(unicode);
    facts.unicodeHost = std::move(unicode);
  }
}

}  // namespace

std::optional<LinkFacts> CanonicaliseLink(std::string_view address) {
  const auto url = ParseWebUrl(address);
  const auto written = SplitWebAddress(address);
  if (!url || !written) return std::nullopt;
  LinkFacts facts;
  DescribeHost(*url, written->host, facts);
  if (!url->username.empty() || !url->password.empty()) facts.userInfo = std::string(written->userInfo);
  facts.siteOnly = url->Origin() + "/";
  // Tracker values look random: they go before the address is judged for keys.
  facts.privateSign = FindPrivateKey(RemoveTrackers(url->Href()).href);
  TrackerRemoval removal = RemoveTrackers(url->HrefWithoutUserInfo());
  facts.canonical = std::move(removal.href);
  facts.removedTrackers = std::move(removal.removed);
  return facts;
}

}  // namespace vantisk
