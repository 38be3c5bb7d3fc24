// Whose site a host belongs to, by the Public Suffix List
// (https://publicsuffix.org/list/), both its ICANN and its PRIVATE sections,
// as browsers use it to tell one site from another. The list is built into
// the program from the copy Debian ships.
//
// The list's algorithm: a rule matches a host when its labels equal the
// host's rightmost labels, a "*" label matching any one label. The longest
// matching rule wins; an exception rule ("!city.kawasaki.jp") beats the
// wildcard it excepts, and its suffix is the rule without its leftmost label;
// when no rule matches, the implicit rule "*" makes the top-level label the
// suffix.
//
// Hosts are ASCII ("xn--" punycode for international labels) and expected in
// lower case; upper-case ASCII letters compare as lower case all the same, and
// the answers are views of the host as written. One trailing dot is ignored:
// the answers never include it.
#pragma once

#include <optional>
#include <string_view>

namespace vantisk {

// The public suffix: what the longest matching rule (or "*") covers. Empty for
// an IP address.
std::string_view PublicSuffix(std::string_view host);

// The public suffix and one label before it ("example.co.uk" for
// "www.example.co.uk"). Nothing when the host is itself a public suffix, is an
// IP address (its last label a number, or "[...]"), or has an empty label.
std::optional<std::string_view> RegistrableDomain(std::string_view host);

// True when the name is a public suffix by a rule of the list itself, not
// only by the implicit "*" ("co.uk", "github.io", "foo.kawasaki.jp"; not
// "example", not "city.kawasaki.jp").
bool IsListedSuffix(std::string_view name);

// True when the name is a classic generic ending ("com", "org", "net"...):
// a top-level name of the list's ICANN section that at least a fifth of the
// two-letter country codes repeat as their own second level ("com.au").
bool IsClassicGenericEnding(std::string_view name);

// The date of the built-in list, "yyyy-mm-dd".
std::string_view PublicSuffixListDate();

}  // namespace vantisk
