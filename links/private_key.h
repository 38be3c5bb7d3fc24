// Offline recognition of a link that carries a key to someone's account or
// files: such an address is not handed to a public checker without asking.
// docs/privacy.md lists the signs and why each counts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantisk {

struct PrivateSign {
  std::string what;   // completes "The address holds what looks like ...": "a password-reset key", "a password", ...
  std::string where;  // the part, without the key in full: "token=9f8c...", "the path", "the fragment"
};

// `href` is the canonical address ("http://" or "https://"). Its user
// information is never sent and is not judged; a fragment is. Takes time in
// proportion to the address's length. Nothing for an ordinary link.
std::optional<PrivateSign> FindPrivateKey(std::string_view href);

}  // namespace vantisk
