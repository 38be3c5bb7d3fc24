// Web addresses as a browser reads them: the URL Standard's basic URL parser
// (https://url.spec.whatwg.org/#concept-basic-url-parser) and serializer for
// the special schemes http and https, for absolute input (no base URL).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "links/host.h"

namespace vantisk {

struct WebUrl {
  bool https = false;
  std::string username, password;  // percent-encoded as the Standard serializes them
  std::string host;                // serialized: lower-case ASCII domain, dotted IPv4, or "[v6]"
  HostKind hostKind = HostKind::Domain;
  std::optional<std::uint16_t> port;  // absent for the scheme's default port
  std::string path;                   // serialized path, always starting with "/"
  std::optional<std::string> query, fragment;  // without "?" / "#"

  // https://url.spec.whatwg.org/#concept-url-serializer, user info included.
  std::string Href() const;
  std::string HrefWithoutUserInfo() const;
  // https://url.spec.whatwg.org/#concept-url-origin, serialized: "https://host[:port]".
  std::string Origin() const;
};

// The URL Standard's basic URL parser on `input` (UTF-8) with no base, for
// http and https only: nothing when it fails or the scheme is another.
std::optional<WebUrl> ParseWebUrl(std::string_view input);

}  // namespace vantisk
