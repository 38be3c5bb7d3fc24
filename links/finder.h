// Finds the web address in a text the user copied or typed: undoes the usual
// "defanged" spellings, cuts the address out of the words around it and takes
// it out of link wrappers that carry their target inside the link.
// Bytes of 0x80 and above are taken as they are: they can be part of an address.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantisk {

// Wrappers are taken apart at most this many deep; a link still wrapped after
// that is checked as the wrapper it is.
inline constexpr int kMaxUnwrapDepth = 5;

struct FoundLink {
  std::string address{};  // "http://" or "https://" and a host: refanged and unwrapped, not yet canonical
  std::string written{};  // the address as the text wrote it, before refanging and unwrapping
  std::vector<std::string> unwrappedFrom{};  // wrapper names, outermost first ("Microsoft Safe Links", ...)
  bool refanged = false;
};

// The first web address in the text; nothing when there is none.
std::optional<FoundLink> FindLink(std::string_view text);

}  // namespace vantisk
