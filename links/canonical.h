// Writes a found web address exactly as a browser would open it (the URL
// Standard's parser, ours, with Unicode's tables), and tells what its host
// really is, whose site it belongs to, and what the address carries.
#pragma once

#include <optional>
#include <string_view>

#include "links/facts.h"

namespace vantisk {

// `address` is what the finder found: "http://" or "https://" and more, UTF-8.
// Nothing when no browser would open it.
std::optional<LinkFacts> CanonicaliseLink(std::string_view address);

}  // namespace vantisk
