// What canonicalising a found address learned about where it really goes.
// Plain data, so that the notes made from it can be tested on their own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "links/private_key.h"
#include "links/site.h"

namespace vantisk {

struct LinkFacts {
  std::string canonical{};    // what a checker is sent: the URL Standard's form, without user information,
                              // trackers or fragment
  std::string opened{};       // what opens when the link itself is opened: `canonical` with the link's fragment
  std::string siteOnly{};     // "scheme://host[:port]/": the site alone, for checking without the rest
  std::string host{};         // ASCII host as sent (an IPv6 host in brackets)
  std::string unicodeHost{};  // the host in its own letters (UTF-8) when it has "xn--" labels, else empty
  std::string registrableDomain{};  // the site the host belongs to; empty for an IP or a public suffix
  std::string userInfo{};     // the user name that stood before the host, as written up to any ":"; empty when none
  bool hasPassword = false;   // the user information held a password too: never kept, quoted or sent
  std::string writtenHost{};  // the host as written in the link
  bool hostIsIp = false;      // IPv4 or IPv6 literal
  bool hostWasNumberInDisguise = false;  // an IPv4 host written other than as a plain dotted quad
  bool mixedScripts = false;             // a label of the host mixes letters of different scripts
  std::string otherReading{};  // ASCII: another site that older (transitional) processing reads the host as; else empty
  std::optional<HiddenName> hiddenName{};     // a well-known name in front of another site's name
  std::optional<PrivateSign> privateSign{};   // what looks like someone's key in the address
  std::vector<std::string> removedTrackers{}; // tracking parameters taken out of `canonical`
  bool fragmentDropped = false;  // the link had a fragment (the part after "#"), which `canonical` leaves out
};

}  // namespace vantisk
