// Finds the web address in a text the user copied or typed: undoes the usual
// "defanged" spellings, cuts the address out of the words around it and takes
// it out of link wrappers that carry their target inside the link.
// The text is UTF-8. An address ends where a browser would not take it as one
// in running text: at a blank (also the Unicode spaces), a control character,
// a quotation mark, "<", ">" or "`", unless its authority goes on after it as
// a browser would read it; sentence punctuation and unmatched brackets after
// it, also their fullwidth and CJK forms, are not part of it.
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
  // Read up to the text's end, before what ends a sentence was taken off: of
  // a text that is only the start of a longer one, the address may be cut.
  bool runsToEnd = false;
};

// Reads the web addresses of a text (refanged and unwrapped) one by one, in
// the order they appear, as they are asked for: the text is read once,
// however many are taken. The text must outlive the finder.
class LinkFinder {
 public:
  explicit LinkFinder(std::string_view text);
  LinkFinder(const LinkFinder&) = delete;
  LinkFinder& operator=(const LinkFinder&) = delete;

  // The next address, which may be one found before; nothing at the text's end.
  std::optional<FoundLink> Next();

 private:
  std::string joined_;  // the text without the breaks inside wrapped addresses, when it is such a list
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The distinct web addresses of the text (after refanging and unwrapping), in
// the order they appear, at most `maxLinks`.
std::vector<FoundLink> FindLinks(std::string_view text, std::size_t maxLinks);

}  // namespace vantisk
