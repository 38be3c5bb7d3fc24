#include "links/web_address.h"

#include <algorithm>

#include "links/ascii.h"

namespace vantisk {
namespace {

using namespace std::string_view_literals;

bool IsAuthorityCharacter(char c) {
  return IsAsciiAlphanumeric(c) || IsNonAscii(c) || "-._~%!$&'()*+,;=:@[]"sv.find(c) != std::string_view::npos;
}

// Characters that would let a text break out of being one web address once
// the shell or a browser's command line sees it.
bool IsForbiddenAnywhere(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F || c == '"' || c == '\\';
}

}  // namespace

std::optional<WebAddressParts> SplitWebAddress(std::string_view address) {
  WebAddressParts parts;
  std::size_t authorityAt = 0;
  if (StartsWithIgnoringCase(address, "http://")) {
    authorityAt = 7;
  } else if (StartsWithIgnoringCase(address, "https://")) {
    authorityAt = 8;
    parts.https = true;
  } else {
    return std::nullopt;
  }
  const std::size_t authorityEnd = std::min(address.find_first_of(kSpecialAuthorityEnds, authorityAt), address.size());
  std::string_view authority = address.substr(authorityAt, authorityEnd - authorityAt);
  parts.rest = address.substr(authorityEnd);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    parts.userInfo = authority.substr(0, at);
    parts.hasUserInfo = true;
    authority.remove_prefix(at + 1);
  }
  const std::size_t bracketEnd = authority.starts_with('[') ? authority.find(']') : 0;
  const std::size_t portAt = bracketEnd == std::string_view::npos ? bracketEnd : authority.find(':', bracketEnd);
  parts.host = authority.substr(0, portAt);
  if (portAt != std::string_view::npos) parts.port = authority.substr(portAt + 1);
  return parts;
}

bool HasHost(const WebAddressParts& parts) {
  return std::any_of(parts.host.begin(), parts.host.end(), [](char c) { return IsAsciiAlphanumeric(c) || IsNonAscii(c); });
}

bool IsShellSafeWebAddress(std::string_view text) {
  return std::none_of(text.begin(), text.end(), IsForbiddenAnywhere) && IsWebAddress(text);
}

bool IsWebAddress(std::string_view text) {
  const auto parts = SplitWebAddress(text);
  if (!parts) return false;
  const std::size_t authorityAt = parts->https ? 8 : 7;
  const std::string_view authority = text.substr(authorityAt, text.size() - authorityAt - parts->rest.size());
  return std::all_of(authority.begin(), authority.end(), IsAuthorityCharacter) && HasHost(*parts);
}

}  // namespace vantisk
