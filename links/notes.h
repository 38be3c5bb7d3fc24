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
  bool redFlag = false;            // user information, a non-ASCII host or an IP host: ask before opening
};

LinkNotes DescribeLink(const FoundLink& found, const LinkFacts& facts);

}  // namespace vantisk
