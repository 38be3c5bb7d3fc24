#include "links/public_suffix.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "links/ascii.h"
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

// The marks of the name's line in the blob; empty when no rule names it.
// Binary search over byte offsets: each probe backs up to its line's start.
std::string_view MarksOf(std::string_view name) {
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
  return {};
}

bool Has(std::string_view marks, char mark) { return marks.find(mark) != std::string_view::npos; }

std::string_view WithoutTrailingDot(std::string_view host) {
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  return host;
}

// Offsets where the host's labels start, leftmost first.
std::vector<std::size_t> LabelStarts(std::string_view host) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < host.size(); ++i) {
    if (host[i] == '.') starts.push_back(i + 1);
  }
  return starts;
}

struct SuffixMatch {
  std::size_t labels = 1;  // how many rightmost labels the suffix takes
  bool listed = false;     // a rule of the list matched, not only "*"
};

// The list's algorithm over the suffixes of the host, shortest first.
SuffixMatch MatchSuffix(std::string_view host) {
  const std::vector<std::size_t> starts = LabelStarts(host);
  SuffixMatch longest;
  std::optional<SuffixMatch> exception;
  std::string_view parentMarks;
  for (std::size_t labels = 1; labels <= starts.size(); ++labels) {
    const std::string_view marks = MarksOf(host.substr(starts[starts.size() - labels]));
    if (Has(marks, kNameRule) || Has(parentMarks, kWildcardBelow)) longest = {labels, true};
    if (Has(marks, kExceptionRule)) exception = SuffixMatch{labels - 1, true};
    parentMarks = marks;
  }
  return exception ? *exception : longest;
}

// The URL Standard's "ends in a number": such a host is an IPv4 address.
bool EndsInNumber(std::string_view host) {
  const std::string_view last = host.substr(host.rfind('.') + 1);
  if (last.empty()) return false;
  if (std::all_of(last.begin(), last.end(), IsAsciiDigit)) return true;
  return StartsWithIgnoringCase(last, "0x") && std::all_of(last.begin() + 2, last.end(), IsAsciiHexDigit);
}

bool IsIpAddress(std::string_view host) { return host.starts_with('[') || EndsInNumber(host); }

// The host's rightmost `labels` labels.
std::string_view LastLabels(std::string_view host, std::size_t labels) {
  std::size_t start = host.size();
  for (std::size_t taken = 0; taken < labels && start != std::string_view::npos; ++taken) {
    start = start == 0 ? std::string_view::npos : host.rfind('.', start - 1);
  }
  return start == std::string_view::npos ? host : host.substr(start + 1);
}

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
  if (suffixLabels >= LabelStarts(host).size()) return std::nullopt;
  return LastLabels(host, suffixLabels + 1);
}

bool IsListedSuffix(std::string_view name) {
  name = WithoutTrailingDot(name);
  if (name.empty()) return false;
  const SuffixMatch match = MatchSuffix(name);
  return match.listed && match.labels == LabelStarts(name).size();
}

bool IsClassicGenericEnding(std::string_view name) { return Has(MarksOf(WithoutTrailingDot(name)), kClassicEnding); }

std::string_view PublicSuffixListDate() { return kPublicSuffixListDate; }

}  // namespace vantisk
