#include "links/public_suffix.h"

#include <algorithm>
#include <cstddef>

#include "links/ascii.h"
#include "links/host.h"
#include "links/labels.h"
#include "links/public_suffix_rules.inc"

namespace vantisk {
namespace {

// Marks after a name in the rule blob (see links/gen_public_suffix.py).
constexpr char kNameRule = '=';
constexpr char kWildcardBelow = '*';
constexpr char kExceptionRule = '!';
constexpr char kClassicEnding = '^';

constexpr bool IsNameCharacter(char c) { return IsAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_'; }

// <0, 0, >0 as the rule name orders before, equal to or after the name,
// whose upper-case ASCII letters count as lower case.
int CompareRuleName(std::string_view ruleName, std::string_view name) {
  const std::size_t common = std::min(ruleName.size(), name.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ruleByte = static_cast<unsigned char>(ruleName[i]);
    const auto nameByte = static_cast<unsigned char>(ToLowerAscii(name[i]));
    if (ruleByte != nameByte) return ruleByte < nameByte ? -1 : 1;
  }
  if (ruleName.size() == name.size()) return 0;
  return ruleName.size() < name.size() ? -1 : 1;
}

// The marks of the name's line in the blob (maybe none); nothing when the blob
// has no line for the name, and then no longer name ends in it either.
// Binary search over byte offsets: each probe backs up to its line's start.
std::optional<std::string_view> MarksOf(std::string_view name) {
  const std::string_view rules = kPublicSuffixRules;
  std::size_t low = 0;
  std::size_t high = rules.size();
  while (low < high) {
    std::size_t lineStart = (low + high) / 2;
    while (lineStart > low && rules[lineStart - 1] != '\n') --lineStart;
    const std::size_t lineEnd = rules.find('\n', lineStart);
    const std::string_view line = rules.substr(lineStart, lineEnd - lineStart);
    std::size_t nameEnd = 0;
    while (nameEnd < line.size() && IsNameCharacter(line[nameEnd])) ++nameEnd;
    const int order = CompareRuleName(line.substr(0, nameEnd), name);
    if (order == 0) return line.substr(nameEnd);
    if (order < 0) {
      low = lineEnd + 1;
    } else {
      high = lineStart;
    }
  }
  return std::nullopt;
}

bool Has(std::optional<std::string_view> marks, char mark) {
  return marks && marks->find(mark) != std::string_view::npos;
}

std::string_view WithoutTrailingDot(std::string_view host) {
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  return host;
}

struct SuffixMatch {
  std::size_t labels = 1;  // how many rightmost labels the suffix takes
  bool listed = false;     // a rule of the list matched, not only "*"
};

// The list's algorithm over the endings of the host, shortest first. It stops
// at the first ending the blob has no line for, so it reads only as far left
// as a rule could reach, however long the host.
SuffixMatch MatchSuffix(std::string_view host) {
  SuffixMatch longest;
  std::optional<SuffixMatch> exception;
  std::optional<std::string_view> parentMarks;
  std::size_t dotAfter = host.size();  // the dot (or the end) after the ending
  for (std::size_t labels = 1;; ++labels) {
    const std::size_t dot = dotAfter == 0 ? std::string_view::npos : host.rfind('.', dotAfter - 1);
    const std::string_view ending = dot == std::string_view::npos ? host : host.substr(dot + 1);
    const std::optional<std::string_view> marks = MarksOf(ending);
    if (Has(marks, kNameRule) || Has(parentMarks, kWildcardBelow)) longest = {labels, true};
    if (Has(marks, kExceptionRule)) exception = SuffixMatch{labels - 1, true};
    if (!marks || dot == std::string_view::npos) break;
    parentMarks = marks;
    dotAfter = dot;
  }
  return exception ? *exception : longest;
}

// "[...]", or a name that ends in a number (the URL Standard's IPv4 test).
bool IsIpAddress(std::string_view host) { return host.starts_with('[') || EndsInANumber(host); }

// Whether the host has more than `labels` labels.
bool HasMoreLabels(std::string_view host, std::size_t labels) { return StartOfLastLabels(host, labels).has_value(); }

}  // namespace

std::string_view PublicSuffix(std::string_view host) {
  host = WithoutTrailingDot(host);
  if (IsIpAddress(host)) return {};
  return LastLabels(host, MatchSuffix(host).labels);
}

std::optional<std::string_view> RegistrableDomain(std::string_view host) {
  host = WithoutTrailingDot(host);
  if (host.empty() || IsIpAddress(host)) return std::nullopt;
  if (host.front() == '.' || host.find("..") != std::string_view::npos) return std::nullopt;
  const std::size_t suffixLabels = MatchSuffix(host).labels;
  if (!HasMoreLabels(host, suffixLabels)) return std::nullopt;
  return LastLabels(host, suffixLabels + 1);
}

bool IsListedSuffix(std::string_view name) {
  name = WithoutTrailingDot(name);
  if (name.empty()) return false;
  const SuffixMatch match = MatchSuffix(name);
  return match.listed && !HasMoreLabels(name, match.labels);
}

bool IsClassicGenericEnding(std::string_view name) { return Has(MarksOf(WithoutTrailingDot(name)), kClassicEnding); }

std::string_view PublicSuffixListDate() { return kPublicSuffixListDate; }

}  // namespace vantisk
