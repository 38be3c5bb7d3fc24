// Writes a found web address the way a browser would request it, using the
// system's URL, international-name and script functions, and tells what its
// host really is.
#pragma once

#include <optional>
#include <string_view>

#include "links/facts.h"

namespace vantisk {

// `address` is what FindLink found: "http://" or "https://" and more, in the
// program's code page. Nothing when it is not an address a browser could open.
std::optional<LinkFacts> CanonicaliseLink(std::string_view address);

}  // namespace vantisk
