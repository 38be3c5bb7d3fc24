// Checker URLs that say where the address goes. A checker URL may hold the
// placeholders {url} (the address, percent-encoded as one URL component),
// {host} (the address's host) and {domain} (its registrable domain, the site
// it belongs to). Without any placeholder the encoded address is appended.
//
// Rules of the placeholders, so that a checker URL means one thing only:
// - Names are lower-case and exact: {URL} or {Host} is an unknown placeholder.
// - A checker URL holds no other braces: "{}" is an unknown placeholder, a "{"
//   that another "{" or the end follows before its "}" is unbalanced (so
//   "{{url}}" is refused at its first "{"), and so is a "}" with no "{".
// - Placeholders come after the checker's own host (after the "/", "?" or "#"
//   that ends it): the address may fill in what a service is asked, never pick
//   which site is opened.
// - There is no raw form of the address: unencoded, it could change the
//   checker's own query.
// - The address never makes a "." or ".." segment of the checker's path,
//   which would open another of the checker's pages: such a segment of the
//   {url} value goes with the "/" before it as "%2F"; a {host} of dots only
//   there is refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantisk {

// Longest target handed to the shell; longer ones are refused with a message
// instead of failing silently in the browser or the shell.
inline constexpr std::size_t kMaxTargetLength = 2048;

enum class ExpandOutcome {
  Expanded,            // `target` is what the shell gets
  EmptyChecker,        // the checker URL is empty: nothing to expand
  UnknownPlaceholder,  // `piece` is the placeholder as written, e.g. "{URL}" or "{}"
  UnbalancedBrace,     // `piece` is "{" (never closed) or "}" (never opened)
  PlaceholderInHost,   // `piece` is a placeholder before the checker's host has ended
  AppendedToHost,      // without placeholders, the checker URL ends in its host: the address would extend the host
  NotWebAddress,       // the checker URL, or what it expands to, is not an http(s) address
  DotSegment,          // `piece` is a "." or ".." segment a {host} of dots only would make of the checker's path
  TooLong,             // the target would be longer than kMaxTargetLength
};

struct Expansion {
  ExpandOutcome outcome = ExpandOutcome::Expanded;
  std::string target;         // set only for Expanded
  std::string piece;          // the offending placeholder or brace, as written
  std::size_t character = 0;  // where `piece` starts: 1 for the checker URL's first character
};

// `address` is the canonical address, `host` its host in ASCII form. A host
// byte outside letters, digits and "-._~:[]" (none in a canonical host) is
// percent-encoded, so that the host can never change the checker's query
// either. The length limit is checked here, on the finished target, since
// only the expansion knows how often the address goes in.
// `domain` is the host's registrable domain in ASCII; empty when it has none,
// and then {domain} is the host itself.
Expansion ExpandCheckerUrl(std::string_view checkerUrl, std::string_view address, std::string_view host,
                           std::string_view domain = {});

// True when the checker is given the whole address ({url}, or no placeholder
// at all); a checker of {host} or {domain} alone learns only the site.
bool ReceivesAddress(std::string_view checkerUrl);

// What is wrong, worded to follow the checker URL or "Checker 3" in a
// sentence: "has an unknown placeholder {URL} ...", "is not a web address ...".
// Empty for an expanded target.
std::string DescribeExpansionProblem(const Expansion& expansion);

}  // namespace vantisk
