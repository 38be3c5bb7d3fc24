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
  // Only the name is kept: the notes quote it, and a password must never show.
  if (!url->username.empty() || !url->password.empty()) {
    facts.userInfo = std::string(written->userInfo.substr(0, written->userInfo.find(':')));
    facts.hasPassword = !url->password.empty();
  }
  facts.siteOnly = url->Origin() + "/";
  // The parser's parts are worked on, not the text again: trackers go from
  // the query once, and what is sent is that address without its fragment.
  WebUrl sent = *url;
  facts.removedTrackers = RemoveTrackersFromQuery(sent.query);
  facts.opened = sent.HrefWithoutUserInfo();
  // Browsers never send the fragment to any server, and some services keep
  // the key to a share or a sign-in there: no checker gets it either.
  facts.fragmentDropped = sent.fragment && !sent.fragment->empty();
  sent.fragment.reset();
  facts.canonical = sent.HrefWithoutUserInfo();
  // Judged as sent, trackers (whose values look random) already out: what
  // never leaves the machine, user information or fragment, gives no key away.
  facts.privateSign = FindPrivateKey(facts.canonical);
  return facts;
}

}  // namespace vantisk
