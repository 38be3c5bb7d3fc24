// The "name inside the name": a host whose front labels spell another site's
// name, as "paypal.com.secure-login.evil.example" does. The site is
// evil.example; "paypal.com" is there to be read first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantisk {

struct HiddenName {
  std::string site;        // the host's registrable domain: "evil.example"
  std::string hiddenName;  // the name its front labels spell: "paypal.com"
};

// `host` is ASCII ("xn--" punycode) and lower case; one trailing dot is ignored.
//
// The labels in front of the host's registrable domain are read as a domain
// name of their own, ending after each of them in turn, rightmost end first:
// the first end where that name is a domain under a listed suffix gives the
// hidden name, as that name's own registrable domain. Rightmost first, so
// that "login.microsoft.com" gives "microsoft.com" ("microsoft" being a
// top-level name of its own) and "paypal.com.au" gives "paypal.com.au"; for
// "a.b.c.com.evil.example" it is "c.com".
//
// Not every listed suffix counts, because ordinary hosts put words and codes
// in front of their domain that are also top-level names: "api.eu.",
// "app.dev.", "www.us.", "api.int.", "shop.online.". The end counts when the
// suffix there
//  - has two labels or more ("co.uk", "com.au", "github.io"): these do not
//    occur as ordinary subdomain words, or
//  - is a classic generic ending ("com", "net", "org"... see
//    IsClassicGenericEnding), the endings people read as "the name ends here".
// A lone country code ("de", "eu") or a newer generic name ("dev", "app",
// "cloud", "microsoft") does not count. Nor does a name whose own label
// before the suffix is all digits ("1.2.3.com"), as version and address
// numbers are.
//
// Only the 127 labels next to the site are read (the most a name DNS can
// resolve has): a hidden name further out would name no reachable site.
//
// Nothing is found for an ordinary subdomain ("mail.google.com",
// "a.b.example.co.uk"), for a host that is itself a public suffix or a
// registrable domain ("user.github.io"), nor for an IP address.
std::optional<HiddenName> FindHiddenName(std::string_view host);

// "This link goes to evil.example; paypal.com is only the front part of its name."
std::string HiddenNameNote(const HiddenName& hidden);

}  // namespace vantisk
