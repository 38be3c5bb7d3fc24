#include "links/site.h"

#include <algorithm>
#include <cstddef>

#include "links/ascii.h"
#include "links/labels.h"
#include "links/public_suffix.h"

namespace vantisk {
namespace {

// The most labels a name that DNS can resolve has (253 bytes, one-letter labels).
constexpr std::size_t kMaxDnsLabels = 127;

bool IsAllDigits(std::string_view label) { return std::all_of(label.begin(), label.end(), IsAsciiDigit); }

// Whether a suffix is one that a hidden name may end in (see site.h).
bool IsTellingSuffix(std::string_view suffix) {
  return IsListedSuffix(suffix) && (LabelCount(suffix) >= 2 || IsClassicGenericEnding(suffix));
}

// The registrable domain of `name` when it ends in a telling suffix. The name
// has no empty label, so its registrable domain is its suffix and one label
// more. The suffix lookup reads only the name's last few labels, whatever its
// length: the hidden name's search stays linear in the host's length.
std::optional<std::string_view> HiddenDomainOf(std::string_view name) {
  const std::string_view suffix = PublicSuffix(name);
  if (suffix.size() == name.size() || !IsTellingSuffix(suffix)) return std::nullopt;
  const std::string_view domain = LastLabels(name, LabelCount(suffix) + 1);
  if (IsAllDigits(domain.substr(0, domain.find('.')))) return std::nullopt;
  return domain;
}

}  // namespace

std::optional<HiddenName> FindHiddenName(std::string_view host) {
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  // Nothing for a host with an empty label, so that the front has none either.
  const std::optional<std::string_view> site = RegistrableDomain(host);
  if (!site || site->size() == host.size()) return std::nullopt;
  const std::string_view front = host.substr(0, host.size() - site->size() - 1);
  // A name of more labels than DNS allows resolves nowhere, so only the
  // labels next to the site can stand for one: the search stops after as many
  // as a resolvable name may have, however long the host.
  std::size_t labelsRead = 0;
  for (std::size_t end = front.size(); end != std::string_view::npos && end > 0 && labelsRead < kMaxDnsLabels;
       end = front.rfind('.', end - 1), ++labelsRead) {
    if (const auto hidden = HiddenDomainOf(front.substr(0, end))) {
      return HiddenName{std::string(*site), std::string(*hidden)};
    }
  }
  return std::nullopt;
}

std::string HiddenNameNote(const HiddenName& hidden) {
  return "This link goes to " + hidden.site + "; " + hidden.hiddenName + " is only the front part of its name.";
}

}  // namespace vantisk
