#include "links/examine.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "links/canonical.h"
#include "links/utf8.h"

namespace vantisk {
namespace {

// Long enough to tell addresses of one site apart, short enough for a menu.
constexpr std::size_t kShownAddressBytes = 60;

}  // namespace

// Addresses no browser opens, and those that turn out to be the same, are
// passed over: the text is read on until enough are found or it ends. At most
// kMaxLinksOffered are kept, however many addresses the text holds.
std::vector<ExaminedLink> ExamineText(std::string_view text) {
  std::vector<ExaminedLink> examined;
  LinkFinder finder(text);
  while (examined.size() < kMaxLinksOffered) {
    std::optional<FoundLink> found = finder.Next();
    if (!found) break;
    const bool foundBefore = std::any_of(examined.begin(), examined.end(),
                                         [&](const ExaminedLink& link) { return link.found.address == found->address; });
    if (foundBefore) continue;
    if (found->tooLong) {
      // Offered, so that the user is told it is too long rather than that there is no address.
      examined.push_back({std::move(*found), {}, {}});
      continue;
    }
    std::optional<LinkFacts> facts = CanonicaliseLink(found->address);
    if (!facts) continue;
    const bool seen = std::any_of(examined.begin(), examined.end(),
                                  [&](const ExaminedLink& link) { return link.facts.canonical == facts->canonical; });
    if (seen) continue;
    LinkNotes notes = DescribeLink(*found, *facts);
    examined.push_back({std::move(*found), std::move(*facts), std::move(notes)});
  }
  return examined;
}

std::string ChoiceLabel(const ExaminedLink& link) {
  if (link.found.tooLong) return "(too long)  \u2014  " + Shortened(link.found.written, kShownAddressBytes);
  const std::string& site = link.facts.registrableDomain.empty() ? link.facts.host : link.facts.registrableDomain;
  std::string label = link.notes.redFlag ? "(!) " : "";
  return label.append(site).append("  \u2014  ").append(Shortened(link.facts.canonical, kShownAddressBytes));
}

}  // namespace vantisk
