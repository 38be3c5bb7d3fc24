// International domain names as browsers write them: UTS #46 processing as
// the URL Standard's "domain to ASCII" asks for it
// (https://url.spec.whatwg.org/#concept-domain-to-ascii): non-transitional
// (so "ß", "ς" and the joiners keep their own names), with the Standard's
// checks (CheckBidi, CheckJoiners; not CheckHyphens, not UseSTD3ASCIIRules,
// not VerifyDnsLength). The tables come from Unicode's data at build time,
// so the answer is the same on every Windows version.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantisk {

// `domain` is UTF-8, already percent-decoded. The ASCII form, lower case, with
// "xn--" labels for international ones; nothing when processing reports an
// error (an invalid "xn--" label, a disallowed character, a bidi or joiner
// rule broken, an empty result).
std::optional<std::string> DomainToAscii(std::string_view domain);

// The other name that transitional processing, which some older programs and
// services still use, reads `domain` as (ASCII, as DomainToAscii writes it):
// "fa\u00DF.de" is "fass.de" there, and so is "FA\u1E9E.de", as the capital
// maps to "\u00DF". Nothing when both processings read one name, or when
// either refuses it.
std::optional<std::string> TransitionalReading(std::string_view domain);

// For showing a name: each valid "xn--" label of an ASCII domain in its own
// letters (UTF-8); a label that does not decode stays as it is.
std::string DomainToUnicode(std::string_view asciiDomain);

// True when a label of the (Unicode, UTF-8) domain mixes letters of different
// scripts, as look-alike names do ("аpple" with a Cyrillic "а"). Letters of
// the Common and Inherited scripts mix with any; Han, Hiragana, Katakana and
// Hangul count as one, as Japanese and Korean names mix them.
bool DomainMixesScripts(std::string_view unicodeDomain);

}  // namespace vantisk
