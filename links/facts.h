// What canonicalising a found address learned about where it really goes.
// Plain data, so that the notes made from it can be tested without Windows.
#pragma once

#include <string>

namespace vantisk {

struct LinkFacts {
  std::string canonical{};    // what will be sent: ASCII, written the way a browser requests it
  std::string host{};         // ASCII host as sent (an IPv6 host in brackets)
  std::string unicodeHost{};  // the host in Unicode (program code page) when it has non-ASCII letters, else empty
  std::string userInfo{};     // user information that stood before the host, as written; empty when none
  std::string writtenHost{};  // the host as written in the link
  bool hostIsIp = false;      // IPv4 or IPv6 literal
  bool hostWasNumberInDisguise = false;  // an IPv4 host written other than as a plain dotted quad
  bool mixedScripts = false;             // a label of the host mixes letters of different scripts
};

}  // namespace vantisk
