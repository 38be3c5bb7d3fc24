// The one rule for what counts as a web address, and the one split of an
// address into its parts where a browser splits it: the authority ends at the
// first "/", "\", "?" or "#", user information at the authority's last "@",
// and the port starts at the first ":" outside an IPv6 host's brackets.
#pragma once

#include <optional>
#include <string_view>

namespace vantisk {

struct WebAddressParts {
  bool https = false;
  std::string_view userInfo{};  // before the authority's last "@"; empty when none
  bool hasUserInfo = false;
  std::string_view host{};      // as written
  std::string_view port{};      // as written, without the ":"
  std::string_view rest{};      // path, query and fragment as written
};

// "http://" or "https://" (scheme in any case) and the rest, split; nothing
// for any other scheme.
std::optional<WebAddressParts> SplitWebAddress(std::string_view address);

// A host needs a letter, a digit or a non-ASCII byte between any user
// information and any port.
bool HasHost(const WebAddressParts& parts);

// A web address as written: "http://" or "https://" and an authority of URL
// characters whose host has a letter, a digit or a non-ASCII byte. Only such
// a text is handed on from a wrapper, or taken as a checker URL.
bool IsWebAddress(std::string_view text);

// A web address that holds nowhere a control character, a double quote or a
// backslash, which could let it break out of being one address on a command
// line. Only such a text is handed to the shell.
bool IsShellSafeWebAddress(std::string_view text);

}  // namespace vantisk
