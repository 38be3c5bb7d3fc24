// Plain words for the user about what a link hides: where it really goes when
// its host is disguised, and what was undone to find it.
#pragma once

#include <string>
#include <vector>

#include "links/facts.h"
#include "links/finder.h"

namespace vantisk {

struct LinkNotes {
  std::vector<std::string> lines;  // one sentence or two each; none for a plain address
  // User information, a non-ASCII host, an IP host, or a link that was refanged
  // or unwrapped: opening the link itself asks first.
  bool redFlag = false;
};

LinkNotes DescribeLink(const FoundLink& found, const LinkFacts& facts);

}  // namespace vantisk
