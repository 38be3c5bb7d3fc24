// Finds the web address in a text the user copied or typed: undoes the usual
// "defanged" spellings, cuts the address out of the words around it and takes
// it out of link wrappers that carry their target inside the link.
// The text is UTF-8. An address ends where a browser would not take it as one
// in running text: at a blank (also the Unicode spaces), a control character
// or a quotation mark; sentence punctuation and unmatched brackets after it,
// also their fullwidth and CJK forms, are not part of it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantisk {

// Wrappers are taken apart at most this many deep; a link still wrapped after
// that is checked as the wrapper it is.
inline constexpr int kMaxUnwrapDepth = 5;

// An address longer than this is found, but not copied out of the text: no
// checker page could take it (a target holds at most 2048 characters), and a
// huge clipboard must not be copied again for it.
inline constexpr std::size_t kMaxAddressBytes = 64 * 1024;

struct FoundLink {
  std::string address{};  // "http://" or "https://" and a host: refanged and unwrapped, not yet canonical
  std::string written{};  // the address as the text wrote it, before refanging and unwrapping
  std::vector<std::string> unwrappedFrom{};  // wrapper names, outermost first ("Microsoft Safe Links", ...)
  bool refanged = false;
  bool tooLong = false;  // longer than kMaxAddressBytes: `address` and `written` hold only its start
};

// The distinct web addresses of the text (after refanging and unwrapping), in
// the order they appear, at most `maxLinks`.
std::vector<FoundLink> FindLinks(std::string_view text, std::size_t maxLinks);

// The first web address in the text; nothing when there is none.
std::optional<FoundLink> FindLink(std::string_view text);

}  // namespace vantisk
