#include "links/private_key.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "links/ascii.h"
#include "links/percent.h"
#include "links/utf8.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

using namespace std::string_view_literals;
using Words = std::initializer_list<std::string_view>;

// ---------------------------------------------------------------------------
// The address, taken apart and percent-decoded once. Everything the rules
// ask of it more than once (the words of each name and segment, what the
// path is for) is worked out here, so that every rule is one pass over it.

struct Parameter {
  std::string name;                // percent-decoded
  std::string value;               // percent-decoded
  std::vector<std::string> words;  // the name's words in lower case: "X-Api-Key" is x, api, key
  std::string joined;              // those words run together: "xapikey"
  bool neverKey = false;           // a sign-in request's or a page's own parameter (client_id, state, page_token)
  bool publicValue = false;        // a key that services publish by design (a publishable or site key)
};

struct Segment {
  std::string text;                // percent-decoded
  std::vector<std::string> words;  // in lower case: "Reset-Password" is reset, password
  std::string squeezed;            // lower case without "-" and "_": "resetpassword"
};

struct Address {
  std::string host;                 // lower case
  std::vector<Segment> segments;    // the path's
  std::vector<Parameter> parameters;  // the query's, then the fragment's
  std::string fragment;             // percent-decoded
  bool fragmentHasParameters = false;
  // The squeezed segments and the values of parameters that say what a link
  // does (mode, action, type, operation), each after a "/": "/__/auth/action/resetpassword".
  std::string purpose;
  std::vector<std::string> purposeWords;  // the words of those parameter values
};

// Words of a name or segment: split at anything but letters and digits and
// where a lower-case letter meets an upper-case one ("SAMLResponse" stays one
// word "samlresponse" in `joined`, "resetToken" gives reset, token).
std::vector<std::string> NameWords(std::string_view name) {
  std::vector<std::string> words(1);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool caseBreak = i > 0 && c >= 'A' && c <= 'Z' && name[i - 1] >= 'a' && name[i - 1] <= 'z';
    if (!IsAsciiAlphanumeric(c) || caseBreak) {
      if (!words.back().empty()) words.emplace_back();
      if (!IsAsciiAlphanumeric(c)) continue;
    }
    words.back() += ToLowerAscii(c);
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

// Calls `take` with each piece of `text` between `separator`s, in order.
template <typename Take>
void ForEachPiece(std::string_view text, char separator, Take take) {
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find(separator, at), text.size());
    take(text.substr(at, end - at));
    at = end + 1;
  }
}

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), text) != words.end();
}

bool AnyWordIsOneOf(const std::vector<std::string>& words, std::initializer_list<std::string_view> list) {
  return std::any_of(words.begin(), words.end(), [&](const std::string& word) { return IsOneOf(word, list); });
}

// Parameters that a sign-in request, an error reply or a paged list carries
// for itself. They are public by the protocols that define them (the client
// id is printed on every sign-in page, the state only ties the reply to the
// request), and a page token only says where a list goes on.
bool IsNeverKeyName(const Parameter& parameter) {
  return IsOneOf(parameter.joined, {"clientid", "state", "nonce", "codechallenge", "codechallengemethod",
                                    "redirecturi", "redirecturl", "responsetype", "responsemode", "scope",
                                    "relaystate", "samlrequest", "sessionstate", "prompt", "error",
                                    "errordescription", "erroruri"}) ||
         AnyWordIsOneOf(parameter.words,
                        {"page", "pagination", "paging", "cursor", "next", "continuation", "after", "before", "marker"});
}

bool IsPublishedKey(std::string_view host, std::string_view value);

void AddParameters(std::string_view text, std::string_view host, std::vector<Parameter>& parameters) {
  ForEachPiece(text, '&', [&](std::string_view item) {
    if (item.empty()) return;
    const std::size_t equals = item.find('=');
    Parameter parameter;
    parameter.name = PercentDecode(item.substr(0, equals));
    if (equals != std::string_view::npos) parameter.value = PercentDecode(item.substr(equals + 1));
    parameter.words = NameWords(parameter.name);
    for (const std::string& word : parameter.words) parameter.joined += word;
    parameter.neverKey = IsNeverKeyName(parameter);
    parameter.publicValue = IsPublishedKey(host, parameter.value);
    parameters.push_back(std::move(parameter));
  });
}

// A fragment holds parameters when it reads "a=b&c=d" (as sign-in replies
// put them) or has them after a "?" (as single-page routes do).
std::string_view FragmentParameters(std::string_view fragment) {
  if (const std::size_t question = fragment.find('?'); question != std::string_view::npos) {
    return fragment.substr(question + 1);
  }
  return fragment.find('=') == std::string_view::npos ? std::string_view{} : fragment;
}

// A segment in lower case without "-" and "_": "Reset-Password" is "resetpassword".
std::string Squeezed(std::string_view segment) {
  std::string squeezed;
  for (const char c : segment) {
    if (c != '-' && c != '_') squeezed += ToLowerAscii(c);
  }
  return squeezed;
}

void NotePurpose(Address& address) {
  for (const Segment& segment : address.segments) {
    address.purpose += '/';
    address.purpose += segment.squeezed;
  }
  for (const Parameter& parameter : address.parameters) {
    if (!IsOneOf(parameter.joined, {"mode", "action", "type", "operation", "do"})) continue;
    address.purpose += '/';
    address.purpose += Squeezed(parameter.value);
    for (std::string& word : NameWords(parameter.value)) address.purposeWords.push_back(std::move(word));
  }
}

std::optional<Address> TakeApart(std::string_view href) {
  const auto parts = SplitWebAddress(href);
  if (!parts) return std::nullopt;
  Address address;
  address.host = LowerAscii(parts->host);
  std::string_view rest = parts->rest;
  const std::size_t hash = std::min(rest.find('#'), rest.size());
  const std::string_view fragment = rest.substr(std::min(hash + 1, rest.size()));
  rest = rest.substr(0, hash);
  const std::size_t question = std::min(rest.find('?'), rest.size());
  ForEachPiece(rest.substr(0, question), '/', [&](std::string_view piece) {
    if (piece.empty()) return;
    Segment segment;
    segment.text = PercentDecode(piece);
    segment.words = NameWords(segment.text);
    segment.squeezed = Squeezed(segment.text);
    address.segments.push_back(std::move(segment));
  });
  if (question < rest.size()) AddParameters(rest.substr(question + 1), address.host, address.parameters);
  const std::string_view fragmentParameters = FragmentParameters(fragment);
  address.fragmentHasParameters = !fragmentParameters.empty();
  AddParameters(fragmentParameters, address.host, address.parameters);
  address.fragment = PercentDecode(fragment);
  NotePurpose(address);
  return address;
}

// ---------------------------------------------------------------------------
// Where a sign was seen, without showing the key in full.

constexpr std::size_t kMaxNameBytes = 32;
constexpr std::size_t kMaxShownValueBytes = 4;

std::string ParameterPlace(const Parameter& parameter) {
  const std::size_t shown = std::min(kMaxShownValueBytes, parameter.value.size() / 3);
  return Shortened(parameter.name, kMaxNameBytes) + "=" + Shortened(parameter.value, shown);
}

const std::string kPath = "the path";
const std::string kFragment = "the fragment";

using Place = std::optional<std::string>;

template <typename Test>
const Parameter* FindParameter(const Address& address, Test test) {
  for (const Parameter& parameter : address.parameters) {
    if (!parameter.neverKey && !parameter.publicValue && test(parameter)) return &parameter;
  }
  return nullptr;
}

template <typename Test>
Place ParameterWhere(const Address& address, Test test) {
  const Parameter* found = FindParameter(address, test);
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
}

// The first parameter value, path segment or the fragment that `test` accepts,
// as a place.
template <typename Test>
Place FirstPlace(const Address& address, Test test) {
  if (Place where = ParameterWhere(address, [&](const Parameter& p) { return test(p.value); })) return where;
  for (const Segment& segment : address.segments) {
    if (test(segment.text)) return kPath;
  }
  if (test(address.fragment)) return kFragment;
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// Shapes of text.

bool AllOf(std::string_view text, bool (*test)(char)) {
  return !text.empty() && std::all_of(text.begin(), text.end(), test);
}
bool IsLowerAlpha(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpperAlpha(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigitChar(char c) { return IsAsciiDigit(c); }
bool IsHexChar(char c) { return IsAsciiHexDigit(c); }
bool IsTokenChar(char c) { return IsAsciiAlphanumeric(c) || c == '-' || c == '_'; }
bool HasDigit(std::string_view text) { return std::any_of(text.begin(), text.end(), IsDigitChar); }
bool HasLetter(std::string_view text) { return std::any_of(text.begin(), text.end(), IsAsciiAlpha); }

// A word as prose or a slug writes it: "bread", "Bread", "BREAD", "2024".
bool IsWordLike(std::string_view piece) {
  if (AllOf(piece, IsLowerAlpha) || AllOf(piece, IsDigitChar)) return true;
  if (AllOf(piece, IsUpperAlpha)) return piece.size() <= 8;
  return piece.size() > 1 && IsUpperAlpha(piece[0]) && AllOf(piece.substr(1), IsLowerAlpha);
}

bool IsPieceSeparator(char c) { return c == '-' || c == '_' || c == '+'; }

// Calls `take` with each piece of `text` between "-", "_" and "+".
template <typename Take>
void ForEachSlugPiece(std::string_view text, Take take) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsPieceSeparator(text[i])) continue;
    if (i > start) take(text.substr(start, i - start));
    start = i + 1;
  }
}

// Words joined by "-", "_" or "+": a slug, a search, a file name's stem.
bool IsSlug(std::string_view text) {
  std::size_t pieces = 0;
  bool words = true;
  ForEachSlugPiece(text, [&](std::string_view piece) {
    words = words && IsWordLike(piece);
    ++pieces;
  });
  return words && pieces >= 2;
}

// How a digest names its algorithm in front of it: "sha256-", "sha256:".
bool IsDigestName(std::string_view piece) {
  return IsOneOf(LowerAscii(piece), {"md5", "sha1", "sha224", "sha256", "sha384", "sha512"});
}

// Hexadecimal pieces, perhaps after words: a digest, a commit or an id that a
// page's slug ends in ("markets-rally-7694c7a4..."). Content is named by such
// hashes; keys written in hex are found by their names and places instead.
bool IsHexOrSlugWithHex(std::string_view text) {
  bool hex = false, other = false;
  ForEachSlugPiece(text, [&](std::string_view piece) {
    if (AllOf(piece, IsHexChar) && HasDigit(piece)) {
      hex = true;
    } else if (!IsWordLike(piece) && !IsDigestName(piece)) {
      other = true;
    }
  });
  return hex && !other;
}

bool IsUuid(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? text[i] != '-' : !IsAsciiHexDigit(text[i])) return false;
  }
  return true;
}

enum class CharacterClass { kLower, kUpper, kDigit, kOther };

CharacterClass ClassOf(char c) {
  if (IsLowerAlpha(c)) return CharacterClass::kLower;
  if (IsUpperAlpha(c)) return CharacterClass::kUpper;
  if (IsAsciiDigit(c)) return CharacterClass::kDigit;
  return CharacterClass::kOther;
}

struct Mix {
  std::size_t lower = 0, upper = 0, digits = 0;
  std::size_t switches = 0;  // neighbouring letters and digits of different classes
  std::size_t distinct = 0;  // different characters
};

Mix MixOf(std::string_view text) {
  Mix mix;
  std::array<bool, 256> seen{};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const CharacterClass kind = ClassOf(text[i]);
    mix.lower += kind == CharacterClass::kLower;
    mix.upper += kind == CharacterClass::kUpper;
    mix.digits += kind == CharacterClass::kDigit;
    if (i > 0 && kind != CharacterClass::kOther && ClassOf(text[i - 1]) != CharacterClass::kOther &&
        ClassOf(text[i - 1]) != kind) {
      ++mix.switches;
    }
    bool& had = seen[static_cast<unsigned char>(text[i])];
    mix.distinct += !had;
    had = true;
  }
  return mix;
}

// Base64 (either alphabet) that decodes to readable text is encoded state (a
// cursor, a filter, an address), not a random key: random bytes are readable
// only about a third of the time.
bool DecodesToText(std::string_view run) {
  constexpr std::size_t kMinDecodedBytes = 12;
  std::size_t bytes = 0, readable = 0;
  unsigned bits = 0, pending = 0;
  for (const char c : run) {
    unsigned value = 0;
    if (IsUpperAlpha(c)) value = static_cast<unsigned>(c - 'A');
    else if (IsLowerAlpha(c)) value = static_cast<unsigned>(c - 'a') + 26;
    else if (IsDigitChar(c)) value = static_cast<unsigned>(c - '0') + 52;
    else if (c == '+' || c == '-') value = 62;
    else if (c == '/' || c == '_') value = 63;
    else break;
    bits = (bits << 6) | value;
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      const unsigned byte = (bits >> pending) & 0xFF;
      ++bytes;
      readable += (byte >= 0x20 && byte < 0x7F) || byte == '\n' || byte == '\t';
    }
  }
  return bytes >= kMinDecodedBytes && readable * 10 >= bytes * 9;
}

// Random keys are at least this long: 16 bytes in hex, 24 in base64.
constexpr std::size_t kMinSecretLength = 32;

// One run of key characters ([A-Za-z0-9_-+=]) that reads as a random key: at
// least `minLength` long, of mixed character classes that change often, and
// none of a plain number, a UUID, a slug of words, hexadecimal (a hash or an
// id, "0x1f..." too), base64 JSON ("eyJ...") or base64 of readable text.
bool IsRandomRun(std::string_view run, std::size_t minLength) {
  while (!run.empty() && run.back() == '=') run.remove_suffix(1);
  if (run.size() < minLength || AllOf(run, IsDigitChar) || IsUuid(run) || IsSlug(run) || IsHexOrSlugWithHex(run)) {
    return false;
  }
  if (const std::size_t hex = run.find("0x"); hex != std::string_view::npos && AllOf(run.substr(hex + 2), IsHexChar)) {
    return false;
  }
  if (run.starts_with("eyJ") || DecodesToText(run)) return false;
  const Mix mix = MixOf(run);
  const std::size_t classes = (mix.lower > 0) + (mix.upper > 0) + (mix.digits > 0);
  return classes >= 2 && mix.switches * 4 >= run.size() && mix.distinct >= std::min<std::size_t>(16, run.size() / 2);
}

bool IsSecretRunChar(char c) { return IsTokenChar(c) || c == '+' || c == '='; }

template <typename Test>
bool AnyRun(std::string_view text, Test test) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::find_if_not(text.begin() + at, text.end(), IsSecretRunChar) - text.begin();
    if (end > at && test(text.substr(at, end - at))) return true;
    at = end + 1;
  }
  return false;
}

bool HasSecretRun(std::string_view text) {
  return AnyRun(text, [](std::string_view run) { return IsRandomRun(run, kMinSecretLength); });
}

// A key in a parameter whose name says so: neither short, nor a plain
// number, nor a word, nor a placeholder such as "true".
bool IsKeyValue(std::string_view value) {
  constexpr std::size_t kMinKeyLength = 8;
  if (value.size() < kMinKeyLength) return false;
  if (AllOf(value, IsDigitChar)) return value.size() >= 12;
  if (IsSlug(value) || (AllOf(value, IsLowerAlpha) && value.size() < 20)) return false;
  return !EqualsIgnoringCase(value, "undefined");
}

// A code that a message sends to be typed or clicked: 4 to 12 digits, or 6
// to 16 letters and digits with a digit among them ("482913", "A7K2QX").
bool IsShortCode(std::string_view value) {
  if (AllOf(value, IsDigitChar)) return value.size() >= 4 && value.size() <= 12;
  return value.size() >= 6 && value.size() <= 16 && AllOf(value, IsAsciiAlphanumeric) && HasDigit(value);
}

// An id of a person's record where the link's purpose makes it a key: a
// UUID, or 10 or more key characters with letters and digits, not a slug.
bool IsIdValue(std::string_view value) {
  constexpr std::size_t kMinIdLength = 10;
  if (IsUuid(value)) return true;
  return value.size() >= kMinIdLength && AllOf(value, IsTokenChar) && HasDigit(value) && HasLetter(value) &&
         !IsSlug(value);
}

// A key in a path segment after a word that says what it is for: long enough
// and with a digit in it; a UUID counts here.
bool IsPathKey(std::string_view segment) {
  constexpr std::size_t kMinPathKeyLength = 16;
  return segment.size() >= kMinPathKeyLength && AllOf(segment, IsTokenChar) && !AllOf(segment, IsDigitChar) &&
         !IsSlug(segment) && HasDigit(segment);
}

// A file name's stem: "report" of "report.pdf"; the text itself without an extension.
std::string_view Stem(std::string_view segment) {
  const std::size_t dot = segment.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || segment.size() - dot > 9) return segment;
  return AllOf(segment.substr(dot + 1), IsAsciiAlphanumeric) ? segment.substr(0, dot) : segment;
}

bool IsFileName(std::string_view segment) { return Stem(segment).size() < segment.size(); }

// ---------------------------------------------------------------------------
// Names and hosts.

// The parameter's last word or all its words together is one of `words`.
bool NameSays(const Parameter& parameter, Words words) {
  return (!parameter.words.empty() && IsOneOf(parameter.words.back(), words)) || IsOneOf(parameter.joined, words);
}

bool NameMentions(const Parameter& parameter, Words words) { return AnyWordIsOneOf(parameter.words, words); }

bool HostIs(std::string_view host, std::string_view domain) {
  return host == domain ||
         (host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.');
}
bool HostIs(const Address& address, std::string_view domain) { return HostIs(address.host, domain); }

bool PathStartsWith(const Address& address, Words segments) {
  if (address.segments.size() < segments.size()) return false;
  return std::equal(segments.begin(), segments.end(), address.segments.begin(),
                    [](std::string_view want, const Segment& have) { return EqualsIgnoringCase(have.text, want); });
}

bool HasSegment(const Address& address, std::string_view lower) {
  return std::any_of(address.segments.begin(), address.segments.end(),
                     [&](const Segment& s) { return EqualsIgnoringCase(s.text, lower); });
}

bool SegmentMentions(const Segment& segment, Words words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view word) { return segment.squeezed.find(word) != std::string::npos; });
}

// The path, or a mode or action parameter, mentions one of `words`.
bool PurposeMentions(const Address& address, Words words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view word) { return address.purpose.find(word) != std::string::npos; });
}

bool HasParameterNamed(const Address& address, std::string_view lowerName) {
  return std::any_of(address.parameters.begin(), address.parameters.end(),
                     [&](const Parameter& p) { return EqualsIgnoringCase(p.name, lowerName); });
}

// Keys that services hand out to be published: Stripe's publishable keys,
// Mapbox's public tokens, reCAPTCHA site keys, and Google's browser API keys
// (as web apps embed them) anywhere but on a call to Google's own APIs.
bool IsPublishedKey(std::string_view host, std::string_view value) {
  constexpr std::size_t kSiteKeyLength = 40;
  return value.starts_with("pk_live_") || value.starts_with("pk_test_") || value.starts_with("pk.eyJ") ||
         (value.starts_with("6L") && value.size() == kSiteKeyLength && AllOf(value, IsTokenChar)) ||
         (value.starts_with("AIza") && !HostIs(host, "googleapis.com"));
}

Place NamedKey(const Address& address, Words words) {
  return ParameterWhere(address, [&](const Parameter& p) { return NameSays(p, words) && IsKeyValue(p.value); });
}

// A key-shaped path segment among the two after one that mentions one of
// `words` (a reset link may put the account's id between the two).
Place KeyAfterPathWord(const Address& address, Words words) {
  constexpr std::size_t kSegmentsLookedAt = 2;
  for (std::size_t i = 0; i < address.segments.size(); ++i) {
    if (!SegmentMentions(address.segments[i], words)) continue;
    const std::size_t end = std::min(address.segments.size(), i + 1 + kSegmentsLookedAt);
    for (std::size_t j = i + 1; j < end; ++j) {
      if (IsPathKey(address.segments[j].text) || IsUuid(address.segments[j].text)) return kPath;
    }
  }
  return std::nullopt;
}

// A key for a purpose that `pathWords` name: in a parameter whose name
// mentions one of `names` ("reset_password_token", "confirmation_code"); on
// a path or with an action that mentions `pathWords`, in a parameter that
// says token, key, code, hash, t or k, or any id-shaped value; or a key in
// the path after such a segment.
Place KeyFor(const Address& address, Words names, Words pathWords) {
  const bool purpose = PurposeMentions(address, pathWords);
  const Place named = ParameterWhere(address, [&](const Parameter& p) {
    const bool keyOrCode = IsKeyValue(p.value) || IsShortCode(p.value);
    return keyOrCode && (NameMentions(p, names) ||
                         (purpose && NameSays(p, {"token", "key", "code", "hash", "t", "k", "pin"})));
  });
  if (named) return named;
  if (purpose) {
    if (Place id = ParameterWhere(address, [](const Parameter& p) { return IsIdValue(p.value); })) return id;
  }
  return KeyAfterPathWord(address, pathWords);
}

// ---------------------------------------------------------------------------
// The rules, one for each sign.

// Amazon S3 and Google Cloud Storage name their signature; Azure's shared
// access signature is "sig" beside the service version "sv"; CloudFront's is
// "Signature" beside "Key-Pair-Id".
Place CloudSignature(const Address& address) {
  const bool azure = HasParameterNamed(address, "sv");
  const bool cloudFront = HasParameterNamed(address, "key-pair-id");
  return ParameterWhere(address, [&](const Parameter& p) {
    return EqualsIgnoringCase(p.name, "x-amz-signature") || EqualsIgnoringCase(p.name, "x-goog-signature") ||
           (azure && p.name == "sig") || (cloudFront && p.name == "Signature");
  });
}

// "eyJ" is how base64url begins a JSON object; a token has three such parts.
bool HasJsonWebToken(std::string_view text) {
  constexpr std::size_t kMinPartLength = 10;
  for (std::size_t at = text.find("eyJ"); at != std::string_view::npos;) {
    std::size_t partLengths[2] = {0, 0};
    std::size_t i = at;
    for (std::size_t& length : partLengths) {
      const std::size_t start = i;
      while (i < text.size() && IsTokenChar(text[i])) ++i;
      length = i - start;
      if (i >= text.size() || text[i] != '.') break;
      ++i;
    }
    if (partLengths[0] >= kMinPartLength && partLengths[1] >= kMinPartLength && text[i - 1] == '.') return true;
    // A later "eyJ" inside the same first part ends where this one did.
    at = text.find("eyJ", std::max(at + 1, at + partLengths[0]));
  }
  return false;
}

Place JsonWebToken(const Address& address) { return FirstPlace(address, HasJsonWebToken); }

struct KeyPrefix {
  std::string_view prefix;
  std::size_t minRest;  // key characters that must follow
};

// Prefixes that services document for their secret keys and tokens.
constexpr auto kKeyPrefixes = std::to_array<KeyPrefix>({
    {"sk_live_", 16}, {"rk_live_", 16}, {"cs_live_", 16}, {"sk_test_", 16}, {"rk_test_", 16}, {"whsec_", 16},
    {"ghp_", 30},     {"gho_", 30},     {"ghu_", 30},     {"ghs_", 30},     {"ghr_", 30},     {"github_pat_", 30},
    {"glpat-", 20},   {"glptt-", 20},   {"xoxb-", 20},    {"xoxp-", 20},    {"xoxa-", 20},    {"xoxe-", 20},
    {"xapp-", 20},    {"AKIA", 16},     {"ASIA", 16},     {"AIza", 35},     {"npm_", 30},     {"hf_", 30},
    {"sk-proj-", 30}, {"sk-ant-", 30},  {"shpat_", 30},   {"SG.", 40},
});

bool HasLiveKey(std::string_view text, bool googleApi) {
  for (const KeyPrefix& key : kKeyPrefixes) {
    if (key.prefix == "AIza" && !googleApi) continue;
    for (std::size_t at = text.find(key.prefix); at != std::string_view::npos;) {
      if (at > 0 && IsAsciiAlphanumeric(text[at - 1])) {
        at = text.find(key.prefix, at + 1);
        continue;
      }
      std::size_t end = at + key.prefix.size();
      while (end < text.size() && (IsTokenChar(text[end]) || text[end] == '.')) ++end;
      if (end - at - key.prefix.size() >= key.minRest) return true;
      at = text.find(key.prefix, end);  // a later prefix in the same run has a shorter rest
    }
  }
  return false;
}

Place LiveKey(const Address& address) {
  const bool googleApi = HostIs(address, "googleapis.com");
  return FirstPlace(address, [&](std::string_view text) { return HasLiveKey(text, googleApi); });
}

// Known webhook paths, and any host named for hooks ("hooks.", "hook.",
// "webhook.") with an id-shaped segment: there the path is the secret.
Place Webhook(const Address& address) {
  const std::string_view firstLabel = std::string_view(address.host).substr(0, address.host.find('.'));
  const bool hookHost = IsOneOf(firstLabel, {"hooks", "hook", "webhook", "webhooks"}) &&
                        std::any_of(address.segments.begin(), address.segments.end(), [](const Segment& s) {
                          return s.text.size() >= 6 && AllOf(s.text, IsTokenChar) && HasDigit(s.text) &&
                                 HasLetter(s.text);
                        });
  const bool known = ((HostIs(address, "discord.com") || HostIs(address, "discordapp.com")) &&
                      PathStartsWith(address, {"api", "webhooks"})) ||
                     (HostIs(address, "webhook.office.com") && PathStartsWith(address, {"webhookb2"})) ||
                     (HostIs(address, "outlook.office.com") && PathStartsWith(address, {"webhook"}));
  return hookHost || (known && address.segments.size() >= 3) ? Place(kPath) : std::nullopt;
}

constexpr auto kMeetingHosts = std::to_array<std::string_view>({"zoom.us", "zoomgov.com", "teams.microsoft.com",
                                                                 "teams.live.com", "webex.com", "bluejeans.com",
                                                                 "ringcentral.com", "goto.com", "gotomeeting.com",
                                                                 "whereby.com"});

bool IsMeetingHost(const Address& address) {
  return std::any_of(kMeetingHosts.begin(), kMeetingHosts.end(), [&](std::string_view host) { return HostIs(address, host); });
}

// The passcode or host key of a meeting, as the meeting services put it
// into their join and start links; BlueJeans puts it after the meeting id.
Place MeetingPassword(const Address& address) {
  if (!IsMeetingHost(address)) return std::nullopt;
  if (Place found = ParameterWhere(address, [](const Parameter& p) {
        return IsOneOf(p.joined, {"pwd", "pw", "p", "passcode", "password", "tk", "zak", "roomkey", "hostkey"}) &&
               p.value.size() >= 4;
      })) {
    return found;
  }
  const bool bluejeans = HostIs(address, "bluejeans.com") && address.segments.size() >= 2 &&
                         AllOf(address.segments[0].text, IsDigitChar) && AllOf(address.segments[1].text, IsDigitChar);
  return bluejeans ? Place(kPath) : std::nullopt;
}

bool IsMeetCode(std::string_view segment) {
  std::vector<std::size_t> sizes;
  bool letters = true;
  ForEachPiece(segment, '-', [&](std::string_view piece) {
    sizes.push_back(piece.size());
    letters = letters && AllOf(piece, IsLowerAlpha);
  });
  return letters && sizes == std::vector<std::size_t>{3, 4, 3};
}

Place MeetingLink(const Address& address) {
  const bool meeting =
      (HostIs(address, "teams.microsoft.com") &&
       (PathStartsWith(address, {"l", "meetup-join"}) || PathStartsWith(address, {"meet"}))) ||
      (HostIs(address, "teams.live.com") && PathStartsWith(address, {"meet"}) && address.segments.size() >= 2) ||
      (address.host == "meet.google.com" && !address.segments.empty() && IsMeetCode(address.segments[0].text)) ||
      (HostIs(address, "webex.com") && HasParameterNamed(address, "mtid"));
  return meeting ? Place(kPath) : std::nullopt;
}

// A SharePoint or OneDrive for Business link: "/:w:/g/...", "/:x:/s/...".
bool IsSharePointShare(const Address& address) {
  if (!HostIs(address, "sharepoint.com") || address.segments.empty()) return false;
  const std::string_view first = address.segments[0].text;
  return first.size() == 3 && first[0] == ':' && IsLowerAlpha(first[1]) && first[2] == ':';
}

// "/s/<key>" anywhere: the share path of many file and cloud services.
bool HasShareSegment(const Address& address) {
  for (std::size_t i = 0; i + 1 < address.segments.size(); ++i) {
    const std::string_view key = address.segments[i + 1].text;
    if (address.segments[i].text == "s" && key.size() >= 8 && AllOf(key, IsTokenChar) && !IsSlug(key) &&
        !AllOf(key, IsLowerAlpha) && !AllOf(key, IsDigitChar)) {
      return true;
    }
  }
  return false;
}

// A document page that its owner published or a form to be filled in:
// ".../pub", ".../pubhtml", ".../viewform", "ResponsePage.aspx", "/d/e/...".
bool IsPublishedPage(const Address& address) {
  if (address.segments.empty()) return false;
  const std::string last = LowerAscii(Stem(address.segments.back().text));
  if (IsOneOf(last, {"pub", "pubhtml", "viewform", "formresponse", "responsepage"})) return true;
  for (std::size_t i = 0; i + 1 < address.segments.size(); ++i) {
    if (address.segments[i].text == "d" && address.segments[i + 1].text == "e") return true;
  }
  return false;
}

// A link that opens a document for editing: a random id and "/edit" at the end.
bool IsEditLink(const Address& address) {
  if (address.segments.size() < 2 || !EqualsIgnoringCase(address.segments.back().text, "edit")) return false;
  return std::any_of(address.segments.begin(), address.segments.end() - 1,
                     [](const Segment& s) { return IsRandomRun(s.text, 16); });
}

Place SharedFile(const Address& address) {
  const bool google = ((HostIs(address, "docs.google.com") && HasSegment(address, "d") && !IsPublishedPage(address)) ||
                       (HostIs(address, "drive.google.com") &&
                        (PathStartsWith(address, {"file", "d"}) || PathStartsWith(address, {"drive", "folders"}) ||
                         (PathStartsWith(address, {"open"}) && HasParameterNamed(address, "id")))) ||
                       address.host == "photos.app.goo.gl");
  const bool dropbox = (HostIs(address, "dropbox.com") || HostIs(address, "dropboxusercontent.com")) &&
                       (PathStartsWith(address, {"scl"}) || PathStartsWith(address, {"sh"}) ||
                        PathStartsWith(address, {"s"}));
  const bool microsoft = (address.host == "1drv.ms" && address.segments.size() >= 2) || IsSharePointShare(address) ||
                         (HostIs(address, "onedrive.live.com") && HasParameterNamed(address, "authkey"));
  const bool vimeoUnlisted = HostIs(address, "vimeo.com") && address.segments.size() >= 2 &&
                             AllOf(address.segments[0].text, IsDigitChar) &&
                             address.segments[1].text.size() >= 8 && AllOf(address.segments[1].text, IsHexChar);
  const bool others = (HostIs(address, "wetransfer.com") && PathStartsWith(address, {"downloads"})) ||
                      (address.host == "we.tl" && !address.segments.empty()) ||
                      (HostIs(address, "mega.nz") && (PathStartsWith(address, {"file"}) ||
                                                      PathStartsWith(address, {"folder"}) ||
                                                      address.fragment.starts_with('!'))) ||
                      (HostIs(address, "icloud.com") &&
                       (PathStartsWith(address, {"iclouddrive"}) || PathStartsWith(address, {"share"}) ||
                        PathStartsWith(address, {"sharedalbum"}))) ||
                      HasShareSegment(address) || IsEditLink(address);
  return google || dropbox || microsoft || vimeoUnlisted || others ? Place(kPath) : std::nullopt;
}

Place GroupInvitation(const Address& address) {
  const bool telegram = (address.host == "t.me" || address.host == "telegram.me") && !address.segments.empty() &&
                        (address.segments[0].text.starts_with('+') || address.segments[0].text == "joinchat");
  const bool whatsapp = address.host == "chat.whatsapp.com" && !address.segments.empty();
  const bool signal = address.host == "signal.group" && !address.fragment.empty();
  return telegram || whatsapp || signal ? Place(kPath) : std::nullopt;
}

Place ResetKey(const Address& address) {
  return KeyFor(address, {"reset", "recover", "recovery"}, {"reset", "recover", "forgot", "lostpassword"});
}

Place InvitationKey(const Address& address) {
  return KeyFor(address, {"invite", "invitation", "invitecode"}, {"invite", "invitation"});
}

Place ConfirmationKey(const Address& address) {
  return KeyFor(address, {"confirmation", "verification", "activation", "confirm", "verify", "activate"},
                {"confirm", "verif", "activat"});
}

Place UnsubscribeKey(const Address& address) {
  return KeyFor(address, {"unsubscribe", "unsub", "optout"}, {"unsubscribe", "unsub", "optout"});
}

// An expiry time beside a random value: the signed links of CDNs and
// download servers (an nginx secure link's md5, a token, an "st").
Place ExpiringSignature(const Address& address) {
  const bool expires = std::any_of(address.parameters.begin(), address.parameters.end(), [](const Parameter& p) {
    return IsOneOf(p.joined, {"expires", "expiry", "expire", "exp", "e", "expiration", "validuntil"}) &&
           AllOf(p.value, IsDigitChar) && p.value.size() >= 9 && p.value.size() <= 13;
  });
  if (!expires) return std::nullopt;
  return ParameterWhere(address, [](const Parameter& p) {
    return AnyRun(p.value, [](std::string_view run) { return IsRandomRun(run, 16) || (run.size() >= 16 && AllOf(run, IsHexChar)); });
  });
}

Place PasswordParameter(const Address& address) {
  constexpr std::size_t kMinPasswordLength = 4;
  return ParameterWhere(address, [](const Parameter& p) {
    return NameSays(p, {"password", "passwd", "pwd", "pass", "passcode", "passphrase", "pin", "pincode"}) &&
           p.value.size() >= kMinPasswordLength;
  });
}

// An authorization code: a name that says so ("authorization_code", and the
// out-of-band "oobCode" of account-action links), or "code" with "state" or
// on a sign-in callback path.
Place SignInCode(const Address& address) {
  constexpr std::size_t kMinCodeLength = 6;
  if (Place named = ParameterWhere(address, [](const Parameter& p) {
        return IsOneOf(p.joined, {"authcode", "authorizationcode", "oobcode", "oauthverifier"}) &&
               p.value.size() >= kMinCodeLength;
      })) {
    return named;
  }
  const bool callback = HasParameterNamed(address, "state") ||
                        std::any_of(address.segments.begin(), address.segments.end(), [](const Segment& s) {
                          return SegmentMentions(s, {"callback", "oauth", "authorize", "signin", "login", "sso"}) ||
                                 s.text == "cb" || s.text == "auth";
                        });
  if (!callback) return std::nullopt;
  return ParameterWhere(address, [](const Parameter& p) { return p.joined == "code" && p.value.size() >= kMinCodeLength; });
}

Place SignInToken(const Address& address) {
  if (Place named = NamedKey(address, {"token", "auth", "accesstoken", "idtoken", "refreshtoken", "samlresponse",
                                       "jwt", "bearer", "ticket", "authticket", "assertion", "magic"})) {
    return named;
  }
  return KeyAfterPathWord(address, {"magic", "login", "signin", "sso", "token"});
}

Place SessionKey(const Address& address) {
  if (Place named = NamedKey(address, {"session", "sessionid", "sid", "sessid", "phpsessid", "jsessionid"})) return named;
  // Java servers append the session to a segment: "/cart;jsessionid=...".
  const bool inPath = std::any_of(address.segments.begin(), address.segments.end(), [](const Segment& s) {
    const std::size_t at = s.squeezed.find(";jsessionid=");
    return at != std::string::npos && s.text.size() - at >= 20;
  });
  return inPath ? Place(kPath) : std::nullopt;
}

// Words before "key" that make it an ordinary key: a sort key, a cache key.
bool IsOrdinaryKeyName(const Parameter& parameter) {
  return parameter.words.size() >= 2 && parameter.words.back() == "key" &&
         IsOneOf(parameter.words[parameter.words.size() - 2],
                 {"logging", "log", "sort", "cache", "idempotency", "partition", "primary", "foreign", "lookup", "row",
                  "search", "tracking", "site", "public", "publishable"});
}

Place SecretKey(const Address& address) {
  return ParameterWhere(address, [](const Parameter& p) {
    return NameSays(p, {"key", "apikey", "authkey", "accesskey", "secretkey", "privatekey", "secret", "appid", "appkey",
                        "licensekey"}) &&
           !IsOrdinaryKeyName(p) && IsKeyValue(p.value) && !(p.joined == "appid" && AllOf(p.value, IsDigitChar));
  });
}

Place Signature(const Address& address) { return NamedKey(address, {"signature", "sig", "hmac"}); }

Place OneTimeCode(const Address& address) {
  constexpr std::size_t kMinOneTimeCodeLength = 4;
  return ParameterWhere(address, [](const Parameter& p) {
    return NameSays(p, {"otp", "totp"}) && p.value.size() >= kMinOneTimeCodeLength;
  });
}

// A mailing service's id of one subscriber: "e=" beside the list's ids
// ("u" and "id", or "list"), or a parameter named for the subscriber.
Place SubscriberId(const Address& address) {
  const bool listIds = (HasParameterNamed(address, "u") && HasParameterNamed(address, "id")) ||
                       HasParameterNamed(address, "list_id") || HasParameterNamed(address, "listid");
  return ParameterWhere(address, [&](const Parameter& p) {
    const bool subscriberName =
        IsOneOf(p.joined, {"subscriberid", "subscriber", "subscriberkey", "recipientid", "contactid", "memberid"}) ||
        (listIds && IsOneOf(p.joined, {"e", "eid"}));
    return subscriberName && p.value.size() >= 6 && AllOf(p.value, IsTokenChar) && HasDigit(p.value);
  });
}

bool IsPhoneNumber(std::string_view value) {
  constexpr std::size_t kMinPhoneDigits = 7;
  const auto digits = static_cast<std::size_t>(std::count_if(value.begin(), value.end(), IsDigitChar));
  return digits >= kMinPhoneDigits && std::all_of(value.begin(), value.end(), [](char c) {
           return IsAsciiDigit(c) || c == '+' || c == '-' || c == ' ' || c == '(' || c == ')' || c == '.';
         });
}

bool IsNameValue(std::string_view value) { return HasLetter(value) && !HasDigit(value) && value.size() >= 2; }
bool IsDateOrNumber(std::string_view value) { return HasDigit(value) && value.size() >= 4; }

// Personal data other than a mail address in the query: a person's name, a
// date of birth, a phone number, a national id number, and a booking
// reference beside a last name abbreviated "ln".
Place PersonName(const Address& address) {
  return ParameterWhere(address, [](const Parameter& p) {
    return IsOneOf(p.joined, {"lastname", "surname", "familyname", "firstname", "givenname", "fullname", "customername",
                              "patientname", "cardholdername", "holdername", "lname", "fname"}) &&
           IsNameValue(p.value);
  });
}

Place BirthDate(const Address& address) {
  return ParameterWhere(address, [](const Parameter& p) {
    return IsOneOf(p.joined, {"dob", "birthdate", "dateofbirth", "birthday", "bday"}) && IsDateOrNumber(p.value);
  });
}

Place PhoneNumber(const Address& address) {
  return ParameterWhere(address, [](const Parameter& p) {
    return IsOneOf(p.joined, {"phone", "phonenumber", "mobile", "mobilenumber", "mobilephone", "tel", "telephone", "cell",
                              "cellphone", "msisdn"}) &&
           IsPhoneNumber(p.value);
  });
}

Place NationalId(const Address& address) {
  return ParameterWhere(address, [](const Parameter& p) {
    return IsOneOf(p.joined, {"ssn", "socialsecuritynumber", "nationalid", "taxid", "passportnumber"}) &&
           IsDateOrNumber(p.value);
  });
}

Place BookingWithName(const Address& address) {
  const bool bookingReference = std::any_of(address.parameters.begin(), address.parameters.end(), [](const Parameter& p) {
    return IsOneOf(p.joined, {"pnr", "cn", "bookingref", "bookingreference", "bookingcode", "bn", "ref",
                              "confirmationnumber", "reservationnumber", "recordlocator"}) &&
           IsShortCode(p.value);
  });
  if (!bookingReference) return std::nullopt;
  return ParameterWhere(address, [](const Parameter& p) { return p.joined == "ln" && IsNameValue(p.value); });
}

// Google Calendar names public calendars like mail addresses; they are not anyone's.
bool IsCalendarIdDomain(std::string_view domain) {
  return LowerAscii(domain).ends_with("calendar.google.com");
}

bool IsMailLocalChar(char c) { return IsAsciiAlphanumeric(c) || "._%+-"sv.find(c) != std::string_view::npos; }
bool IsMailDomainChar(char c) { return IsAsciiAlphanumeric(c) || c == '.' || c == '-'; }

// Finds mail addresses at "@"s (or written "--at--"s) visited from left to
// right. Each run of local-part characters and of domain characters is read
// once, however many separators stand in it, so the whole text takes one pass.
class MailScanner {
 public:
  explicit MailScanner(std::string_view text) : text_(text) {}

  // Whether a local part ends at `localEnd` and a domain starts at `domainStart`.
  bool MailAt(std::size_t localEnd, std::size_t domainStart) {
    while (scanned_ < localEnd) {
      if (!IsMailLocalChar(text_[scanned_])) localStart_ = scanned_ + 1;
      ++scanned_;
    }
    const std::size_t start = localStart_;
    if (start >= localEnd || (start > 0 && text_[start - 1] == '@')) return false;
    if (domainStart >= domainEnd_) ReadDomainRun(domainStart);
    // The domain from domainStart: a dot inside it, no "..", a top level of letters.
    return lastDot_ != std::string_view::npos && lastDot_ > domainStart &&
           (doubleDot_ == std::string_view::npos || doubleDot_ <= domainStart) && domainValid_;
  }

 private:
  void ReadDomainRun(std::size_t from) {
    domainEnd_ = from;
    while (domainEnd_ < text_.size() && IsMailDomainChar(text_[domainEnd_])) ++domainEnd_;
    std::size_t end = domainEnd_;
    while (end > from && text_[end - 1] == '.') --end;
    const std::string_view run = text_.substr(from, end - from);
    const std::size_t dot = run.rfind('.');
    lastDot_ = dot == std::string_view::npos ? dot : from + dot;
    const std::size_t doubleDot = run.rfind("..");
    doubleDot_ = doubleDot == std::string_view::npos ? doubleDot : from + doubleDot + 1;
    const std::string_view topLevel = dot == std::string_view::npos ? run : run.substr(dot + 1);
    domainValid_ = topLevel.size() >= 2 && std::all_of(topLevel.begin(), topLevel.end(), IsAsciiAlpha) &&
                   !IsCalendarIdDomain(run);
    if (domainEnd_ == from) domainEnd_ = from + 1;  // an empty run: nothing to reuse
  }

  std::string_view text_;
  std::size_t scanned_ = 0, localStart_ = 0;  // local-part characters run from localStart_ to scanned_
  std::size_t domainEnd_ = 0, lastDot_ = 0, doubleDot_ = 0;
  bool domainValid_ = false;
};

// local@domain.tld, and "local--at--domain.tld" as mailing-list archives
// write it; the local part does not follow another "@", so that a handle
// such as "@name@server.social" is not taken for one.
bool HasMailAddress(std::string_view text) {
  MailScanner atSigns(text);
  for (std::size_t at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1)) {
    if (atSigns.MailAt(at, at + 1)) return true;
  }
  constexpr std::string_view kWrittenAt = "--at--";
  MailScanner writtenAts(text);
  for (std::size_t at = text.find(kWrittenAt); at != std::string_view::npos; at = text.find(kWrittenAt, at + 1)) {
    if (writtenAts.MailAt(at, at + kWrittenAt.size())) return true;
  }
  return false;
}

Place MailAddress(const Address& address) { return FirstPlace(address, HasMailAddress); }

// A calendar feed (".ics", or "ical" in the path) that carries a random or
// UUID id is the calendar's secret address, unless its path says "public".
Place PrivateCalendarFeed(const Address& address) {
  const bool feed = std::any_of(address.segments.begin(), address.segments.end(), [](const Segment& s) {
    return LowerAscii(s.text).ends_with(".ics") || AnyWordIsOneOf(s.words, {"ical", "ics"});
  });
  if (!feed || HasSegment(address, "public")) return std::nullopt;
  auto randomId = [](std::string_view text) {
    return IsUuid(text) || (text.size() >= 16 && AllOf(text, IsHexChar)) || IsRandomRun(text, 16);
  };
  if (Place where = ParameterWhere(address, [&](const Parameter& p) { return randomId(p.value); })) return where;
  const bool inPath = std::any_of(address.segments.begin(), address.segments.end(), [&](const Segment& s) {
    bool found = false;
    ForEachSlugPiece(Stem(s.text), [&](std::string_view piece) { found = found || randomId(piece); });
    return found;
  });
  return inPath ? Place(kPath) : std::nullopt;
}

// `word` is one of `words`, where an entry ending in "*" stands for any word
// that begins with it: "share*" is share, shared, shares, sharing.
bool WordMatches(std::string_view word, Words words) {
  return std::any_of(words.begin(), words.end(), [&](std::string_view entry) {
    return entry.ends_with('*') ? word.starts_with(entry.substr(0, entry.size() - 1)) : word == entry;
  });
}

bool SegmentHasWord(const Segment& segment, Words words) {
  return std::any_of(segment.words.begin(), segment.words.end(),
                     [&](const std::string& word) { return WordMatches(word, words); });
}

// A key in a path segment after a word that names what the link is for; it
// may be shorter than a random key, and a UUID counts.
bool IsActionKey(std::string_view segment) {
  constexpr std::size_t kMinActionKeyLength = 10;
  const std::string_view stem = Stem(segment);
  if (IsUuid(stem)) return true;
  return stem.size() >= kMinActionKeyLength && AllOf(stem, IsTokenChar) && !AllOf(stem, IsDigitChar) &&
         !IsSlug(stem) && (HasDigit(stem) || MixOf(stem).upper > 0) && HasLetter(stem);
}

// On a path (or with a mode or action parameter) with one of `words`: a key
// among the two segments after such a word, else an id-shaped parameter value.
Place KeyAfterWords(const Address& address, Words words) {
  constexpr std::size_t kSegmentsLookedAt = 2;
  bool seen = std::any_of(address.purposeWords.begin(), address.purposeWords.end(),
                          [&](const std::string& word) { return WordMatches(word, words); });
  for (std::size_t i = 0; i < address.segments.size(); ++i) {
    if (!SegmentHasWord(address.segments[i], words)) continue;
    seen = true;
    const std::size_t end = std::min(address.segments.size(), i + 1 + kSegmentsLookedAt);
    for (std::size_t j = i + 1; j < end; ++j) {
      if (IsActionKey(address.segments[j].text)) return kPath;
    }
  }
  if (!seen) return std::nullopt;
  return ParameterWhere(address, [](const Parameter& p) { return IsIdValue(p.value); });
}

Place SharedKeyInPath(const Address& address) { return KeyAfterWords(address, {"share*", "secret*", "private"}); }
Place HookKeyInPath(const Address& address) {
  return KeyAfterWords(address, {"hook*", "webhook*", "integration*", "trigger*", "deliver"});
}
Place ApiKeyInPath(const Address& address) { return KeyAfterWords(address, {"key", "keys", "apikey"}); }
Place WelcomeKeyInPath(const Address& address) { return KeyAfterWords(address, {"welcome", "join", "onboard*"}); }
Place BookingKeyInPath(const Address& address) {
  return KeyAfterWords(address,
                       {"cancel*", "reschedul*", "booking*", "appointment*", "appt", "reservation*", "manageres"});
}
Place SigningKeyInPath(const Address& address) {
  return KeyAfterWords(address, {"sign", "signing", "signature*", "signer*", "esign*"});
}
Place SubscriptionKeyInPath(const Address& address) {
  return KeyAfterWords(address, {"subscription*", "preference*"});
}

// A fragment made of random pieces ("#<key>", "#!<id>!<key>", "#/s/<uuid>/<key>"):
// pages that encrypt in the browser keep the key there, where the server
// never sees it. The key may be shorter than a random key elsewhere, but
// every piece must be random, a UUID, hex or at most 2 characters, so that
// a single-page route ("#/items/<id>") is not taken for one.
bool IsKeyFragment(std::string_view fragment, char separator) {
  constexpr std::size_t kMinFragmentKeyLength = 16;
  constexpr std::size_t kMinOtherPieceLength = 8;
  bool key = false, others = true;
  ForEachPiece(fragment, separator, [&](std::string_view piece) {
    if (piece.empty() || !others) return;
    if (!AllOf(piece, IsTokenChar)) {
      others = false;
    } else if (IsRandomRun(piece, kMinFragmentKeyLength)) {
      key = true;
    } else {
      others = piece.size() <= 2 || IsUuid(piece) || AllOf(piece, IsHexChar) || IsRandomRun(piece, kMinOtherPieceLength);
    }
  });
  return key && others;
}

Place KeyInFragment(const Address& address) {
  if (address.fragmentHasParameters) return std::nullopt;
  return IsKeyFragment(address.fragment, '/') || IsKeyFragment(address.fragment, '!') ? Place(kFragment) : std::nullopt;
}

// Path segments that name a public object by its hash or hold build assets.
bool IsPublicHashContext(std::string_view segment) {
  return IsOneOf(LowerAscii(segment), {"commit", "commits", "blob", "tree", "blame", "raw", "compare", "changeset",
                                       "rev", "revision", "src", "static", "assets", "_next", "_nuxt", "dist", "build",
                                       "ipfs", "ipns"});
}

// Query parameters that name public things: a video, a list, a search, a page, a version.
bool IsPublicIdName(const Parameter& parameter) {
  return IsOneOf(parameter.joined, {"v", "list", "q", "query", "search", "page", "p", "index", "t", "lang", "hl",
                                    "ver", "version", "rev", "cb", "si", "playlistid", "videoid", "channelid"});
}

// A search engine's results page: its other parameters are its own state.
bool IsSearch(const Address& address) {
  return std::any_of(address.parameters.begin(), address.parameters.end(), [](const Parameter& p) {
    return IsOneOf(p.joined, {"q", "query", "searchquery", "search", "keywords", "p", "wd", "text"}) &&
           HasLetter(p.value) && !HasSecretRun(p.value);
  });
}

// Images, fonts, scripts and styles: their query is a size or a cache-buster.
bool IsAssetPath(const Address& address) {
  if (address.segments.empty()) return false;
  const std::string_view last = address.segments.back().text;
  const std::size_t dot = last.rfind('.');
  if (dot == std::string_view::npos) return false;
  return IsOneOf(LowerAscii(last.substr(dot + 1)), {"jpg", "jpeg", "png", "gif", "webp", "avif", "svg", "ico", "bmp",
                                                     "css", "js", "mjs", "woff", "woff2", "ttf", "otf", "eot", "map"});
}

Place SecretShapedValue(const Address& address) {
  if (IsPublishedPage(address)) return std::nullopt;
  if (!IsSearch(address) && !IsAssetPath(address)) {
    if (Place where = ParameterWhere(address, [](const Parameter& p) { return !IsPublicIdName(p) && HasSecretRun(p.value); })) {
      return where;
    }
  }
  for (std::size_t i = 0; i < address.segments.size(); ++i) {
    if (i > 0 && IsPublicHashContext(address.segments[i - 1].text)) continue;
    if (i > 0 && IsPublicHashContext(address.segments[0].text)) continue;
    if (IsFileName(address.segments[i].text)) continue;  // a file named by its hash
    if (HasSecretRun(address.segments[i].text)) return kPath;
  }
  if (!address.fragmentHasParameters && HasSecretRun(address.fragment)) return kFragment;
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// The signs, checked in this order; the first that holds is reported.

struct Sign {
  std::string_view name;
  Place (*rule)(const Address&);
  std::string_view what;
};

constexpr auto kSigns = std::to_array<Sign>({
    {"signed cloud-storage link", CloudSignature, "a signed download link"},
    {"JSON Web Token", JsonWebToken, "a sign-in token"},
    {"documented secret-key prefix", LiveKey, "a secret API key"},
    {"webhook address", Webhook, "a webhook address"},
    {"meeting link with its password", MeetingPassword, "a meeting password"},
    {"meeting link", MeetingLink, "a meeting link"},
    {"file or document shared by link", SharedFile, "a shared-document link"},
    {"group invitation link", GroupInvitation, "an invitation link"},
    {"password-reset key", ResetKey, "a password-reset key"},
    {"invitation key", InvitationKey, "an invitation key"},
    {"confirmation key", ConfirmationKey, "a confirmation key"},
    {"unsubscribe key", UnsubscribeKey, "a personal unsubscribe key"},
    {"signed link with an expiry", ExpiringSignature, "a signed download link"},
    {"password parameter", PasswordParameter, "a password"},
    {"sign-in callback code", SignInCode, "a sign-in code"},
    {"sign-in token", SignInToken, "a sign-in token"},
    {"session key", SessionKey, "a session key"},
    {"secret or API key parameter", SecretKey, "a secret key"},
    {"signature parameter", Signature, "a signed link"},
    {"one-time code", OneTimeCode, "a one-time code"},
    {"subscriber id", SubscriberId, "a subscriber's id"},
    {"person's name", PersonName, "a person's name"},
    {"date of birth", BirthDate, "a date of birth"},
    {"phone number", PhoneNumber, "a phone number"},
    {"national id number", NationalId, "a national id number"},
    {"booking reference with a last name", BookingWithName, "a booking reference with a name"},
    {"mail address", MailAddress, "a mail address"},
    {"private calendar feed", PrivateCalendarFeed, "a private calendar address"},
    {"webhook key in the path", HookKeyInPath, "a webhook address"},
    {"shared or secret key in the path", SharedKeyInPath, "a shared-document link"},
    {"key in the path", ApiKeyInPath, "a secret key"},
    {"welcome or join key in the path", WelcomeKeyInPath, "an invitation key"},
    {"booking key", BookingKeyInPath, "a booking-management link"},
    {"signing key", SigningKeyInPath, "an e-signature link"},
    {"subscription key", SubscriptionKeyInPath, "a personal unsubscribe key"},
    {"key in the fragment", KeyInFragment, "a key in the fragment"},
    {"secret-shaped value", SecretShapedValue, "a random key"},
});

}  // namespace

std::optional<PrivateSign> FindPrivateKey(std::string_view href) {
  const auto address = TakeApart(href);
  if (!address) return std::nullopt;
  for (const Sign& sign : kSigns) {
    if (Place where = sign.rule(*address)) return PrivateSign{std::string(sign.what), std::move(*where)};
  }
  return std::nullopt;
}

}  // namespace vantisk
