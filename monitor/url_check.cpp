#include "monitor/url_check.h"

#include <algorithm>
#include <utility>

#include "monitor/checker_template.h"

namespace vantisk {
namespace {

bool IsAsciiLetterOrDigit(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char wanted, char found) {
    const char lower = (found >= 'A' && found <= 'Z') ? static_cast<char>(found - 'A' + 'a') : found;
    return lower == wanted;
  });
}

// Characters that would let a text break out of being a plain web address once
// the shell or a browser's command line sees it.
bool IsForbiddenAnywhere(unsigned char c) { return c < 0x20 || c == 0x7F || c == '"' || c == '\\'; }

bool IsHostCharacter(unsigned char c) {
  return IsAsciiLetterOrDigit(c) || c >= 0x80 || std::string_view("-._~%@:[]").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string_view WithoutWebScheme(std::string_view text) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (StartsWithIgnoringCase(text, scheme)) return text.substr(scheme.size());
  }
  return {};
}

CheckResult Refuse(CheckOutcome outcome, std::string problem = {}) { return {outcome, {}, std::move(problem)}; }

}  // namespace

bool IsWebUrl(std::string_view text) {
  if (std::any_of(text.begin(), text.end(), [](char c) { return IsForbiddenAnywhere(static_cast<unsigned char>(c)); })) {
    return false;
  }
  const std::string_view rest = WithoutWebScheme(text);
  const std::string_view host = rest.substr(0, rest.find_first_of("/?#"));
  return !host.empty() &&
         std::all_of(host.begin(), host.end(), [](char c) { return IsHostCharacter(static_cast<unsigned char>(c)); });
}

std::string PercentEncodeExcept(std::string_view bytes, std::string_view alsoKept) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsAsciiLetterOrDigit(byte) || alsoKept.find(c) != std::string_view::npos) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

std::string PercentEncodeComponent(std::string_view bytes) { return PercentEncodeExcept(bytes, "-._~:/"); }

CheckResult BuildCheckTarget(std::string_view checkerUrl, std::string_view address, std::string_view host) {
  if (!IsWebUrl(address)) return Refuse(CheckOutcome::AddressNotValid);
  if (checkerUrl.empty()) {
    if (address.size() > kMaxTargetLength) return Refuse(CheckOutcome::TooLong);
    return {CheckOutcome::Launch, std::string(address), {}};
  }
  Expansion expansion = ExpandCheckerUrl(checkerUrl, address, host);
  switch (expansion.outcome) {
    case ExpandOutcome::Expanded:
      return {CheckOutcome::Launch, std::move(expansion.target), {}};
    case ExpandOutcome::TooLong:
      return Refuse(CheckOutcome::TooLong);
    case ExpandOutcome::NotWebAddress:
    case ExpandOutcome::EmptyChecker:
      return Refuse(CheckOutcome::CheckerNotWeb);
    case ExpandOutcome::UnknownPlaceholder:
    case ExpandOutcome::UnbalancedBrace:
    case ExpandOutcome::PlaceholderInHost:
      break;
  }
  return Refuse(CheckOutcome::CheckerPlaceholder, DescribeExpansionProblem(expansion));
}

}  // namespace vantisk
