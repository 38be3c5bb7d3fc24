#include "checkers/checker_template.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "links/percent.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

constexpr std::string_view kUrlPlaceholder = "{url}";
constexpr std::string_view kHostPlaceholder = "{host}";

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
  const auto starts = std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset),
                                    [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  return static_cast<std::size_t>(starts) + 1;
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
    if (name != kUrlPlaceholder && name != kHostPlaceholder) {
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
  if (!IsWebAddress(before)) return Fault(ExpandOutcome::NotWebAddress);
  return std::nullopt;
}

// A canonical host needs no escape; anything else a caller might hand in is
// escaped, so that the host can never change the checker's query.
std::string HostForChecker(std::string_view host) { return PercentEncode(host, EncodeSet::AllBut("-._~:[]")); }

// Joins the pieces, stopping as soon as the target outgrows the limit: a
// hundred placeholders must not build a hundred addresses first.
Expansion Fill(const std::vector<Piece>& pieces, std::string_view encodedAddress, std::string_view host) {
  std::string target;
  for (const Piece& piece : pieces) {
    const std::string_view text =
        !piece.isPlaceholder ? piece.text : (piece.text == kUrlPlaceholder ? encodedAddress : host);
    if (target.size() + text.size() > kMaxTargetLength) return Fault(ExpandOutcome::TooLong);
    target += text;
  }
  if (!IsWebAddress(target)) return Fault(ExpandOutcome::NotWebAddress);
  return {ExpandOutcome::Expanded, std::move(target), {}, 0};
}

}  // namespace

Expansion ExpandCheckerUrl(std::string_view checkerUrl, std::string_view address, std::string_view host) {
  if (checkerUrl.empty()) return Fault(ExpandOutcome::EmptyChecker);
  Parsed parsed = Parse(checkerUrl);
  if (parsed.fault) return std::move(*parsed.fault);

  const std::string encodedAddress = PercentEncode(address, kCheckerValueSet);
  const auto firstPlaceholder =
      std::find_if(parsed.pieces.begin(), parsed.pieces.end(), [](const Piece& piece) { return piece.isPlaceholder; });
  if (firstPlaceholder == parsed.pieces.end()) {
    // A checker URL without placeholders gets the address appended, after
    // its host has ended ("/", "?" or "#"), so that the address cannot pick the site.
    if (!IsWebAddress(checkerUrl)) return Fault(ExpandOutcome::NotWebAddress);
    if (SplitWebAddress(checkerUrl)->rest.empty()) return Fault(ExpandOutcome::AppendedToHost);
    parsed.pieces.push_back({kUrlPlaceholder, true, checkerUrl.size()});
  } else if (std::optional<Expansion> fault = CheckTextBeforePlaceholder(checkerUrl, *firstPlaceholder)) {
    return std::move(*fault);
  }
  return Fill(parsed.pieces, encodedAddress, HostForChecker(host));
}

std::string DescribeExpansionProblem(const Expansion& expansion) {
  switch (expansion.outcome) {
    case ExpandOutcome::Expanded:
      return {};
    case ExpandOutcome::EmptyChecker:
      return "is empty";
    case ExpandOutcome::UnknownPlaceholder:
      return "has an unknown placeholder " + expansion.piece + " (the placeholders are {url} and {host})";
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
    case ExpandOutcome::TooLong:
      return std::string("is too long with this address: a checker page address may have at most ")
          .append(std::to_string(kMaxTargetLength))
          .append(" characters");
  }
  return {};
}

}  // namespace vantisk
