#include "checkers/checker_template.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "links/ascii.h"
#include "links/percent.h"
#include "links/utf8.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

constexpr std::string_view kUrlPlaceholder = "{url}";
constexpr std::string_view kHostPlaceholder = "{host}";
constexpr std::string_view kDomainPlaceholder = "{domain}";

constexpr std::array<std::string_view, 3> kPlaceholders{kUrlPlaceholder, kHostPlaceholder, kDomainPlaceholder};

bool IsPlaceholderName(std::string_view name) {
  return std::find(kPlaceholders.begin(), kPlaceholders.end(), name) != kPlaceholders.end();
}

// A run of the checker URL's own text, or one placeholder as written.
struct Piece {
  std::string_view text;
  bool isPlaceholder;
  std::size_t offset;
};

struct Parsed {
  std::vector<Piece> pieces;
  std::optional<Expansion> fault;
};

// Messages count characters, not bytes: UTF-8 continuation bytes start none.
std::size_t CharacterNumber(std::string_view text, std::size_t offset) {
  std::size_t number = 1;
  for (std::size_t at = 0; at < offset; ++at) number += IsCharacterStart(text, at) ? 1 : 0;
  return number;
}

Expansion Fault(ExpandOutcome outcome, std::string_view checker, std::string_view piece, std::size_t offset) {
  return {outcome, {}, std::string(piece), CharacterNumber(checker, offset)};
}

Expansion Fault(ExpandOutcome outcome) { return {outcome, {}, {}, 0}; }

// Splits the checker URL into its own text and placeholders, or finds the
// first brace that breaks the rules.
Parsed Parse(std::string_view checker) {
  Parsed parsed;
  std::size_t position = 0;
  while (position < checker.size()) {
    const std::size_t open = checker.find_first_of("{}", position);
    if (open == std::string_view::npos) {
      parsed.pieces.push_back({checker.substr(position), false, position});
      break;
    }
    if (open > position) parsed.pieces.push_back({checker.substr(position, open - position), false, position});
    if (checker[open] == '}') {
      parsed.fault = Fault(ExpandOutcome::UnbalancedBrace, checker, "}", open);
      break;
    }
    const std::size_t close = checker.find_first_of("{}", open + 1);
    if (close == std::string_view::npos || checker[close] == '{') {
      parsed.fault = Fault(ExpandOutcome::UnbalancedBrace, checker, "{", open);
      break;
    }
    const std::string_view name = checker.substr(open, close - open + 1);
    if (!IsPlaceholderName(name)) {
      parsed.fault = Fault(ExpandOutcome::UnknownPlaceholder, checker, name, open);
      break;
    }
    parsed.pieces.push_back({name, true, open});
    position = close + 1;
  }
  return parsed;
}

// The checker's text before its first placeholder must already be a web
// address whose host has ended, so that the address never picks the site.
std::optional<Expansion> CheckTextBeforePlaceholder(std::string_view checker, const Piece& placeholder) {
  const std::string_view before = checker.substr(0, placeholder.offset);
  const auto parts = SplitWebAddress(before);
  if (!parts) return Fault(ExpandOutcome::NotWebAddress);
  if (parts->rest.empty()) return Fault(ExpandOutcome::PlaceholderInHost, checker, placeholder.text, placeholder.offset);
  if (!IsShellSafeWebAddress(before)) return Fault(ExpandOutcome::NotWebAddress);
  return std::nullopt;
}

// A canonical host needs no escape; anything else a caller might hand in is
// escaped, so that the host can never change the checker's query.
std::string HostForChecker(std::string_view host) { return PercentEncode(host, EncodeSet::AllBut("-._~:[]")); }

// Where a byte of the target came from: the checker URL's own text, the
// {url} value, or a {host} or {domain} value.
enum class From : unsigned char { Checker, Address, Host };

struct Filled {
  std::string target;
  std::vector<From> from;  // one for each byte of `target`
};

// "." or "..", also with "%2e" (any case) for a dot: a browser resolves such
// a segment of a path before it sends the request.
bool IsDotSegment(std::string_view segment) {
  std::size_t dots = 0;
  for (std::size_t at = 0; at < segment.size() && dots <= 2; ++dots) {
    if (segment[at] == '.') {
      at += 1;
    } else if (StartsWithIgnoringCase(segment.substr(at), "%2e")) {
      at += 3;
    } else {
      return false;
    }
  }
  return dots == 1 || dots == 2;
}

// A dot segment in the checker's path would lead its page elsewhere on its
// site: "https://c.example/web/{url}" with "https://a.example/?q=/../../x"
// would open "https://c.example/x". Where the address brought one in, the "/"
// before it is the address's own and goes as "%2F", which joins the dots to
// the segment before; a {host} of dots only, between the checker's own
// slashes, cannot be kept from being one, and the checker is not used.
// Only the path counts: the checker's own "?" or "#" ends it, and a value
// holds neither.
std::optional<Expansion> KeepDotsInTheirSegment(Filled& filled) {
  const std::string& target = filled.target;
  const auto parts = SplitWebAddress(target);
  if (!parts) return std::nullopt;  // refused as no web address afterwards
  const std::size_t pathStart = target.size() - parts->rest.size();
  const std::size_t pathEnd = std::min(target.find_first_of("?#", pathStart), target.size());
  std::string kept = target.substr(0, pathStart);
  // Each segment with the slash before it: the path starts with one.
  for (std::size_t slash = pathStart; slash < pathEnd;) {
    const std::size_t end = std::min(target.find_first_of("/\\", slash + 1), pathEnd);
    const std::string_view segment = std::string_view(target).substr(slash + 1, end - slash - 1);
    const bool broughtIn = std::any_of(filled.from.begin() + static_cast<std::ptrdiff_t>(slash),
                                       filled.from.begin() + static_cast<std::ptrdiff_t>(end),
                                       [](From from) { return from != From::Checker; });
    if (broughtIn && IsDotSegment(segment)) {
      if (filled.from[slash] != From::Address) return Expansion{ExpandOutcome::DotSegment, {}, std::string(segment), 0};
      kept += "%2F";
    } else {
      kept += target[slash];
    }
    kept += segment;
    slash = end;
  }
  kept += std::string_view(target).substr(pathEnd);
  filled.target = std::move(kept);
  return std::nullopt;
}

// Joins the pieces, stopping as soon as the target outgrows the limit: a
// hundred placeholders must not build a hundred addresses first.
struct Values {
  std::string address, host, domain;  // as they go into the checker URL

  std::string_view For(std::string_view placeholder) const {
    if (placeholder == kUrlPlaceholder) return address;
    return placeholder == kHostPlaceholder ? host : domain;
  }
};

Expansion Fill(const std::vector<Piece>& pieces, const Values& values) {
  Filled filled;
  for (const Piece& piece : pieces) {
    const std::string_view text = piece.isPlaceholder ? values.For(piece.text) : piece.text;
    if (filled.target.size() + text.size() > kMaxTargetLength) return Fault(ExpandOutcome::TooLong);
    const From from = !piece.isPlaceholder ? From::Checker : piece.text == kUrlPlaceholder ? From::Address : From::Host;
    filled.target += text;
    filled.from.insert(filled.from.end(), text.size(), from);
  }
  if (std::optional<Expansion> fault = KeepDotsInTheirSegment(filled)) return std::move(*fault);
  if (filled.target.size() > kMaxTargetLength) return Fault(ExpandOutcome::TooLong);
  if (!IsShellSafeWebAddress(filled.target)) return Fault(ExpandOutcome::NotWebAddress);
  return {ExpandOutcome::Expanded, std::move(filled.target), {}, 0};
}

}  // namespace

Expansion ExpandCheckerUrl(std::string_view checkerUrl, std::string_view address, std::string_view host,
                           std::string_view domain) {
  if (checkerUrl.empty()) return Fault(ExpandOutcome::EmptyChecker);
  Parsed parsed = Parse(checkerUrl);
  if (parsed.fault) return std::move(*parsed.fault);

  const auto firstPlaceholder =
      std::find_if(parsed.pieces.begin(), parsed.pieces.end(), [](const Piece& piece) { return piece.isPlaceholder; });
  if (firstPlaceholder == parsed.pieces.end()) {
    // A checker URL without placeholders gets the address appended, after
    // its host has ended ("/", "?" or "#"), so that the address cannot pick the site.
    if (!IsShellSafeWebAddress(checkerUrl)) return Fault(ExpandOutcome::NotWebAddress);
    if (SplitWebAddress(checkerUrl)->rest.empty()) return Fault(ExpandOutcome::AppendedToHost);
    parsed.pieces.push_back({kUrlPlaceholder, true, checkerUrl.size()});
  } else if (std::optional<Expansion> fault = CheckTextBeforePlaceholder(checkerUrl, *firstPlaceholder)) {
    return std::move(*fault);
  }
  const Values values{PercentEncode(address, kCheckerValueSet), HostForChecker(host),
                      HostForChecker(domain.empty() ? host : domain)};
  return Fill(parsed.pieces, values);
}

bool ReceivesAddress(std::string_view checkerUrl) {
  const bool anyPlaceholder = std::any_of(kPlaceholders.begin(), kPlaceholders.end(), [&](std::string_view name) {
    return checkerUrl.find(name) != std::string_view::npos;
  });
  return !checkerUrl.empty() && (!anyPlaceholder || checkerUrl.find(kUrlPlaceholder) != std::string_view::npos);
}

std::string DescribeExpansionProblem(const Expansion& expansion) {
  switch (expansion.outcome) {
    case ExpandOutcome::Expanded:
      return {};
    case ExpandOutcome::EmptyChecker:
      return "is empty";
    case ExpandOutcome::UnknownPlaceholder:
      return "has an unknown placeholder " + expansion.piece + " (the placeholders are {url}, {host} and {domain})";
    case ExpandOutcome::UnbalancedBrace:
      return std::string(expansion.piece == "{" ? "has a { without a closing } at character "
                                                : "has a } without an opening { at character ")
          .append(std::to_string(expansion.character));
    case ExpandOutcome::PlaceholderInHost:
      return "has the placeholder " + expansion.piece + " inside its own host (placeholders go after the host)";
    case ExpandOutcome::AppendedToHost:
      return "ends in its own host, so the address would become part of the host's name (end it with / or ? "
             "or =, or use {url})";
    case ExpandOutcome::NotWebAddress:
      return "is not a web address (http:// or https://)";
    case ExpandOutcome::DotSegment:
      return "cannot take this address: it would put \"" + expansion.piece +
             "\" into the checker's own path, which opens another of its pages";
    case ExpandOutcome::TooLong:
      return std::string("is too long with this address: a checker page address may have at most ")
          .append(std::to_string(kMaxTargetLength))
          .append(" characters");
  }
  return {};
}

}  // namespace vantisk
