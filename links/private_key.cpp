#include "links/private_key.h"

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <set>
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
// The address, taken apart and percent-decoded once.

struct Parameter {
  std::string name;                // percent-decoded
  std::string value;               // percent-decoded
  std::vector<std::string> words;  // the name's words in lower case: "X-Api-Key" is x, api, key
  std::string joined;              // those words run together: "xapikey"
};

struct Address {
  std::string host;                   // lower case
  std::string_view userInfo;          // as written
  std::vector<std::string> segments;  // the path's, percent-decoded
  std::vector<Parameter> parameters;  // the query's, then the fragment's
  std::string fragment;               // percent-decoded
};

// Words of a parameter name: split at anything but letters and digits and
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

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find(separator, at), text.size());
    pieces.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return pieces;
}

void AddParameters(std::string_view text, std::vector<Parameter>& parameters) {
  for (const std::string_view item : SplitOn(text, '&')) {
    if (item.empty()) continue;
    const std::size_t equals = item.find('=');
    Parameter parameter;
    parameter.name = PercentDecode(item.substr(0, equals));
    if (equals != std::string_view::npos) parameter.value = PercentDecode(item.substr(equals + 1));
    parameter.words = NameWords(parameter.name);
    for (const std::string& word : parameter.words) parameter.joined += word;
    parameters.push_back(std::move(parameter));
  }
}

// A fragment holds parameters when it reads "a=b&c=d" (as sign-in replies
// put them) or has them after a "?" (as single-page routes do).
std::string_view FragmentParameters(std::string_view fragment) {
  if (const std::size_t question = fragment.find('?'); question != std::string_view::npos) {
    return fragment.substr(question + 1);
  }
  return fragment.find('=') == std::string_view::npos ? std::string_view{} : fragment;
}

std::optional<Address> TakeApart(std::string_view href) {
  const auto parts = SplitWebAddress(href);
  if (!parts) return std::nullopt;
  Address address;
  address.host = LowerAscii(parts->host);
  address.userInfo = parts->userInfo;
  std::string_view rest = parts->rest;
  const std::size_t hash = std::min(rest.find('#'), rest.size());
  const std::string_view fragment = rest.substr(std::min(hash + 1, rest.size()));
  rest = rest.substr(0, hash);
  const std::size_t question = std::min(rest.find('?'), rest.size());
  for (const std::string_view segment : SplitOn(rest.substr(0, question), '/')) {
    if (!segment.empty()) address.segments.push_back(PercentDecode(segment));
  }
  if (question < rest.size()) AddParameters(rest.substr(question + 1), address.parameters);
  AddParameters(FragmentParameters(fragment), address.parameters);
  address.fragment = PercentDecode(fragment);
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

// The first parameter value, path segment or the fragment that `test` accepts,
// as a place.
Place FirstPlace(const Address& address, const std::function<bool(std::string_view)>& test) {
  for (const Parameter& parameter : address.parameters) {
    if (test(parameter.value)) return ParameterPlace(parameter);
  }
  for (const std::string& segment : address.segments) {
    if (test(segment)) return kPath;
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

// A word as prose or a slug writes it: "bread", "Bread", "BREAD", "2024".
bool IsWordLike(std::string_view piece) {
  if (AllOf(piece, IsLowerAlpha) || AllOf(piece, IsDigitChar)) return true;
  if (AllOf(piece, IsUpperAlpha)) return piece.size() <= 8;
  return piece.size() > 1 && IsUpperAlpha(piece[0]) && AllOf(piece.substr(1), IsLowerAlpha);
}

// Words joined by "-", "_" or "+": a slug, a search, a file name's stem.
bool IsSlug(std::string_view text) {
  std::size_t pieces = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && "-_+"sv.find(text[i]) == std::string_view::npos) continue;
    const std::string_view piece = text.substr(start, i - start);
    if (!piece.empty()) {
      if (!IsWordLike(piece)) return false;
      ++pieces;
    }
    start = i + 1;
  }
  return pieces >= 2;
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
  std::set<char> seen;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const CharacterClass kind = ClassOf(text[i]);
    mix.lower += kind == CharacterClass::kLower;
    mix.upper += kind == CharacterClass::kUpper;
    mix.digits += kind == CharacterClass::kDigit;
    if (i > 0 && kind != CharacterClass::kOther && ClassOf(text[i - 1]) != CharacterClass::kOther &&
        ClassOf(text[i - 1]) != kind) {
      ++mix.switches;
    }
    seen.insert(text[i]);
  }
  mix.distinct = seen.size();
  return mix;
}

// Random keys are at least this long: 16 bytes in hex, 24 in base64.
constexpr std::size_t kMinSecretLength = 32;

// One run of key characters ([A-Za-z0-9_-+=]) that reads as a random key:
// long, of mixed character classes that change often, and none of a plain
// number, a UUID, a slug of words or a written hexadecimal number ("0x1f...").
bool IsSecretRun(std::string_view run) {
  while (!run.empty() && run.back() == '=') run.remove_suffix(1);
  if (run.size() < kMinSecretLength || AllOf(run, IsDigitChar) || IsUuid(run) || IsSlug(run)) return false;
  if (const std::size_t hex = run.find("0x"); hex != std::string_view::npos && AllOf(run.substr(hex + 2), IsHexChar)) {
    return false;
  }
  const Mix mix = MixOf(run);
  const std::size_t classes = (mix.lower > 0) + (mix.upper > 0) + (mix.digits > 0);
  if (AllOf(run, IsHexChar)) return mix.digits > 0 && mix.digits < run.size() && mix.switches * 6 >= run.size();
  return classes >= 2 && mix.switches * 4 >= run.size() && mix.distinct >= 16;
}

bool IsSecretRunChar(char c) { return IsTokenChar(c) || c == '+' || c == '='; }

bool HasSecretRun(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::find_if_not(text.begin() + at, text.end(), IsSecretRunChar) - text.begin();
    if (end > at && IsSecretRun(text.substr(at, end - at))) return true;
    at = end + 1;
  }
  return false;
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

// A key in a path segment after a word that says what it is for: long enough
// and with a digit in it; a UUID counts here.
bool IsPathKey(std::string_view segment) {
  constexpr std::size_t kMinPathKeyLength = 16;
  return segment.size() >= kMinPathKeyLength && AllOf(segment, IsTokenChar) && !AllOf(segment, IsDigitChar) &&
         !IsSlug(segment) && std::any_of(segment.begin(), segment.end(), IsDigitChar);
}

// ---------------------------------------------------------------------------
// Names and hosts.

bool IsOneOf(std::string_view text, Words words) { return std::find(words.begin(), words.end(), text) != words.end(); }

// The parameter's last word or all its words together is one of `words`.
bool NameSays(const Parameter& parameter, Words words) {
  return (!parameter.words.empty() && IsOneOf(parameter.words.back(), words)) || IsOneOf(parameter.joined, words);
}

bool NameMentions(const Parameter& parameter, Words words) {
  return std::any_of(parameter.words.begin(), parameter.words.end(),
                     [&](const std::string& word) { return IsOneOf(word, words); });
}

bool HostIs(const Address& address, std::string_view domain) {
  return address.host == domain ||
         (address.host.size() > domain.size() && address.host.ends_with(domain) &&
          address.host[address.host.size() - domain.size() - 1] == '.');
}

bool PathStartsWith(const Address& address, Words segments) {
  if (address.segments.size() < segments.size()) return false;
  return std::equal(segments.begin(), segments.end(), address.segments.begin(),
                    [](std::string_view want, const std::string& have) { return EqualsIgnoringCase(have, want); });
}

// A segment in lower case without "-" and "_": "Reset-Password" is "resetpassword".
std::string Squeezed(std::string_view segment) {
  std::string squeezed;
  for (const char c : segment) {
    if (c != '-' && c != '_') squeezed += ToLowerAscii(c);
  }
  return squeezed;
}

bool SegmentMentions(std::string_view segment, Words words) {
  const std::string squeezed = Squeezed(segment);
  return std::any_of(words.begin(), words.end(), [&](std::string_view word) { return squeezed.find(word) != std::string::npos; });
}

bool PathMentions(const Address& address, Words words) {
  return std::any_of(address.segments.begin(), address.segments.end(),
                     [&](const std::string& segment) { return SegmentMentions(segment, words); });
}

const Parameter* FindParameter(const Address& address, const std::function<bool(const Parameter&)>& test) {
  for (const Parameter& parameter : address.parameters) {
    if (test(parameter)) return &parameter;
  }
  return nullptr;
}

bool HasParameterNamed(const Address& address, std::string_view lowerName) {
  return FindParameter(address, [&](const Parameter& p) { return EqualsIgnoringCase(p.name, lowerName); }) != nullptr;
}

Place NamedKey(const Address& address, Words words) {
  const Parameter* found =
      FindParameter(address, [&](const Parameter& p) { return NameSays(p, words) && IsKeyValue(p.value); });
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
}

// A key-shaped path segment among the two after one that mentions one of
// `words` (a reset link may put the account's id between the two).
Place KeyAfterPathWord(const Address& address, Words words) {
  constexpr std::size_t kSegmentsLookedAt = 2;
  for (std::size_t i = 0; i < address.segments.size(); ++i) {
    if (!SegmentMentions(address.segments[i], words)) continue;
    const std::size_t end = std::min(address.segments.size(), i + 1 + kSegmentsLookedAt);
    for (std::size_t j = i + 1; j < end; ++j) {
      if (IsPathKey(address.segments[j])) return kPath;
    }
  }
  return std::nullopt;
}

// A key in a parameter named by `names`, or a key-like parameter (token, key,
// code) on a path that mentions `pathWords`, or a key in the path after them.
Place KeyFor(const Address& address, Words names, Words pathWords) {
  const Parameter* found = FindParameter(address, [&](const Parameter& p) {
    return IsKeyValue(p.value) && (NameMentions(p, names) || (NameSays(p, {"token", "key", "code", "hash", "t", "k"}) &&
                                                               PathMentions(address, pathWords)));
  });
  if (found) return ParameterPlace(*found);
  return KeyAfterPathWord(address, pathWords);
}

// ---------------------------------------------------------------------------
// The rules, one for each sign.

Place PasswordInUserInfo(const Address& address) {
  const std::size_t colon = address.userInfo.find(':');
  if (colon == std::string_view::npos || colon + 1 == address.userInfo.size()) return std::nullopt;
  return "user information";
}

// Amazon S3 and Google Cloud Storage name their signature; Azure's shared
// access signature is "sig" beside the service version "sv"; CloudFront's is
// "Signature" beside "Key-Pair-Id".
Place CloudSignature(const Address& address) {
  const bool azure = HasParameterNamed(address, "sv");
  const bool cloudFront = HasParameterNamed(address, "key-pair-id");
  const Parameter* found = FindParameter(address, [&](const Parameter& p) {
    return EqualsIgnoringCase(p.name, "x-amz-signature") || EqualsIgnoringCase(p.name, "x-goog-signature") ||
           (azure && p.name == "sig") || (cloudFront && p.name == "Signature");
  });
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
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
    {"glpat-", 20},   {"xoxb-", 20},    {"xoxp-", 20},    {"xoxa-", 20},    {"xoxe-", 20},    {"xapp-", 20},
    {"AKIA", 16},     {"ASIA", 16},     {"AIza", 35},     {"npm_", 30},     {"hf_", 30},      {"sk-proj-", 30},
    {"sk-ant-", 30},  {"shpat_", 30},   {"SG.", 40},
});

bool HasLiveKey(std::string_view text) {
  for (const KeyPrefix& key : kKeyPrefixes) {
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

Place LiveKey(const Address& address) { return FirstPlace(address, HasLiveKey); }

Place Webhook(const Address& address) {
  const bool webhook = (HostIs(address, "hooks.slack.com") && PathStartsWith(address, {"services"})) ||
                       ((HostIs(address, "discord.com") || HostIs(address, "discordapp.com")) &&
                        PathStartsWith(address, {"api", "webhooks"})) ||
                       (HostIs(address, "webhook.office.com") && PathStartsWith(address, {"webhookb2"})) ||
                       (HostIs(address, "outlook.office.com") && PathStartsWith(address, {"webhook"})) ||
                       (HostIs(address, "hooks.zapier.com") && PathStartsWith(address, {"hooks", "catch"}));
  return webhook && address.segments.size() >= 3 ? Place(kPath) : std::nullopt;
}

Place MeetingPassword(const Address& address) {
  if (!HostIs(address, "zoom.us") && !HostIs(address, "zoomgov.com")) return std::nullopt;
  const Parameter* found = FindParameter(address, [](const Parameter& p) { return p.name == "pwd" && !p.value.empty(); });
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
}

bool IsMeetCode(std::string_view segment) {
  const auto pieces = SplitOn(segment, '-');
  return pieces.size() == 3 && pieces[0].size() == 3 && pieces[1].size() == 4 && pieces[2].size() == 3 &&
         std::all_of(pieces.begin(), pieces.end(), [](std::string_view piece) { return AllOf(piece, IsLowerAlpha); });
}

Place MeetingLink(const Address& address) {
  const bool meeting =
      (HostIs(address, "teams.microsoft.com") && PathStartsWith(address, {"l", "meetup-join"})) ||
      (HostIs(address, "teams.live.com") && PathStartsWith(address, {"meet"}) && address.segments.size() >= 2) ||
      (address.host == "meet.google.com" && !address.segments.empty() && IsMeetCode(address.segments[0])) ||
      (HostIs(address, "webex.com") && HasParameterNamed(address, "mtid"));
  return meeting ? Place(kPath) : std::nullopt;
}

// A SharePoint or OneDrive for Business link: "/:w:/g/...", "/:x:/s/...".
bool IsSharePointShare(const Address& address) {
  if (!HostIs(address, "sharepoint.com") || address.segments.empty()) return false;
  const std::string_view first = address.segments[0];
  return first.size() == 3 && first[0] == ':' && IsLowerAlpha(first[1]) && first[2] == ':';
}

// "/s/<key>" anywhere: the share path of many file and cloud services.
bool HasShareSegment(const Address& address) {
  for (std::size_t i = 0; i + 1 < address.segments.size(); ++i) {
    const std::string_view key = address.segments[i + 1];
    if (address.segments[i] == "s" && key.size() >= 8 && AllOf(key, IsTokenChar) && !IsSlug(key) &&
        !AllOf(key, IsLowerAlpha) && !AllOf(key, IsDigitChar)) {
      return true;
    }
  }
  return false;
}

Place SharedFile(const Address& address) {
  const bool google = (HostIs(address, "docs.google.com") &&
                       std::any_of(address.segments.begin(), address.segments.end(),
                                   [](const std::string& s) { return s == "d"; })) ||
                      (HostIs(address, "drive.google.com") &&
                       (PathStartsWith(address, {"file", "d"}) || PathStartsWith(address, {"drive", "folders"}) ||
                        (PathStartsWith(address, {"open"}) && HasParameterNamed(address, "id")))) ||
                      address.host == "photos.app.goo.gl";
  const bool dropbox = HostIs(address, "dropbox.com") && (PathStartsWith(address, {"scl"}) ||
                                                          PathStartsWith(address, {"sh"}));
  const bool microsoft = (address.host == "1drv.ms" && address.segments.size() >= 2) || IsSharePointShare(address) ||
                         (HostIs(address, "onedrive.live.com") && HasParameterNamed(address, "authkey"));
  const bool others = (HostIs(address, "wetransfer.com") && PathStartsWith(address, {"downloads"})) ||
                      (address.host == "we.tl" && !address.segments.empty()) ||
                      (HostIs(address, "mega.nz") && (PathStartsWith(address, {"file"}) ||
                                                      PathStartsWith(address, {"folder"}) ||
                                                      address.fragment.starts_with('!'))) ||
                      (HostIs(address, "icloud.com") && (PathStartsWith(address, {"iclouddrive"}) ||
                                                         PathStartsWith(address, {"share"}))) ||
                      HasShareSegment(address);
  return google || dropbox || microsoft || others ? Place(kPath) : std::nullopt;
}

Place GroupInvitation(const Address& address) {
  const bool telegram = (address.host == "t.me" || address.host == "telegram.me") && !address.segments.empty() &&
                        (address.segments[0].starts_with('+') || address.segments[0] == "joinchat");
  const bool whatsapp = address.host == "chat.whatsapp.com" && !address.segments.empty();
  return telegram || whatsapp ? Place(kPath) : std::nullopt;
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

Place PasswordParameter(const Address& address) {
  constexpr std::size_t kMinPasswordLength = 4;
  const Parameter* found = FindParameter(address, [](const Parameter& p) {
    return NameSays(p, {"password", "passwd", "pwd", "pass", "passcode", "passphrase"}) &&
           p.value.size() >= kMinPasswordLength;
  });
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
}

// An authorization code: "code" with "state", or on a sign-in callback path.
Place SignInCode(const Address& address) {
  constexpr std::size_t kMinCodeLength = 6;
  const bool callback = HasParameterNamed(address, "state") ||
                        PathMentions(address, {"callback", "oauth", "authorize", "signin", "login", "sso"}) ||
                        std::any_of(address.segments.begin(), address.segments.end(),
                                    [](const std::string& s) { return s == "cb" || s == "auth"; });
  if (!callback) return std::nullopt;
  const Parameter* found = FindParameter(address, [](const Parameter& p) {
    return IsOneOf(p.joined, {"code", "authcode", "authorizationcode"}) && p.value.size() >= kMinCodeLength;
  });
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
}

Place SignInToken(const Address& address) {
  if (Place named = NamedKey(address, {"token", "auth", "accesstoken", "idtoken", "refreshtoken", "samlresponse",
                                       "jwt", "bearer", "ticket", "authticket", "assertion", "magic"})) {
    return named;
  }
  return KeyAfterPathWord(address, {"magic", "login", "signin", "sso", "token"});
}

Place SessionKey(const Address& address) {
  return NamedKey(address, {"session", "sessionid", "sid", "sessid", "phpsessid", "jsessionid"});
}

Place SecretKey(const Address& address) {
  return NamedKey(address, {"key", "apikey", "authkey", "accesskey", "secretkey", "privatekey", "secret"});
}

Place Signature(const Address& address) { return NamedKey(address, {"signature", "sig", "hmac"}); }

Place OneTimeCode(const Address& address) {
  constexpr std::size_t kMinOneTimeCodeLength = 4;
  const Parameter* found = FindParameter(
      address, [](const Parameter& p) { return NameSays(p, {"otp", "totp"}) && p.value.size() >= kMinOneTimeCodeLength; });
  return found ? Place(ParameterPlace(*found)) : std::nullopt;
}

// local@domain.tld; the local part does not follow another "@", so that a
// handle such as "@name@server.social" is not taken for one.
bool HasMailAddress(std::string_view text) {
  auto isLocal = [](char c) { return IsAsciiAlphanumeric(c) || "._%+-"sv.find(c) != std::string_view::npos; };
  auto isDomain = [](char c) { return IsAsciiAlphanumeric(c) || c == '.' || c == '-'; };
  for (std::size_t at = text.find('@'); at != std::string_view::npos; at = text.find('@', at + 1)) {
    std::size_t start = at;
    while (start > 0 && isLocal(text[start - 1])) --start;
    if (start == at || (start > 0 && text[start - 1] == '@')) continue;
    std::size_t end = at + 1;
    while (end < text.size() && isDomain(text[end])) ++end;
    std::string_view domain = text.substr(at + 1, end - at - 1);
    while (!domain.empty() && domain.back() == '.') domain.remove_suffix(1);
    const std::size_t dot = domain.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || domain.find("..") != std::string_view::npos) continue;
    const std::string_view topLevel = domain.substr(dot + 1);
    if (topLevel.size() >= 2 && std::all_of(topLevel.begin(), topLevel.end(), IsAsciiAlpha)) return true;
  }
  return false;
}

Place MailAddress(const Address& address) { return FirstPlace(address, HasMailAddress); }

// Path segments that name a public object by its hash or hold build assets.
bool IsPublicHashContext(std::string_view segment) {
  return IsOneOf(LowerAscii(segment), {"commit", "commits", "blob", "tree", "blame", "raw", "compare", "changeset",
                                       "rev", "revision", "src", "static", "assets", "_next", "_nuxt", "dist", "build"});
}

// Query parameters that name public things: a video, a list, a search, a page.
bool IsPublicIdName(const Parameter& parameter) {
  return IsOneOf(parameter.joined, {"v", "list", "q", "query", "search", "page", "p", "index", "t", "lang", "hl"});
}

Place SecretShapedValue(const Address& address) {
  for (const Parameter& parameter : address.parameters) {
    if (!IsPublicIdName(parameter) && HasSecretRun(parameter.value)) return ParameterPlace(parameter);
  }
  for (std::size_t i = 0; i < address.segments.size(); ++i) {
    if (i > 0 && IsPublicHashContext(address.segments[i - 1])) continue;
    if (i > 0 && IsPublicHashContext(address.segments[0])) continue;
    if (HasSecretRun(address.segments[i])) return kPath;
  }
  if (FragmentParameters(address.fragment).empty() && HasSecretRun(address.fragment)) return kFragment;
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
    {"password in the user information", PasswordInUserInfo, "a password"},
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
    {"password parameter", PasswordParameter, "a password"},
    {"sign-in callback code", SignInCode, "a sign-in code"},
    {"sign-in token", SignInToken, "a sign-in token"},
    {"session key", SessionKey, "a session key"},
    {"secret or API key parameter", SecretKey, "a secret key"},
    {"signature parameter", Signature, "a signed link"},
    {"one-time code", OneTimeCode, "a one-time code"},
    {"mail address", MailAddress, "a mail address"},
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
