#include "links/finder.h"

#include "links/ascii.h"
#include "links/percent.h"
#include "links/utf8.h"
#include "links/web_address.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace vantisk {
namespace {

using namespace std::string_view_literals;
constexpr std::size_t kNone = std::string_view::npos;

// `prefix` is lower case; the text may be in any case.
bool StartsWithAt(std::string_view text, std::size_t pos, std::string_view prefix) {
  return pos <= text.size() && StartsWithIgnoringCase(text.substr(pos), prefix);
}

// --- The address in running text ---------------------------------------------

// What a character does to an address written in running text.
enum class Role {
  Part,   // may stand in the address
  Ends,   // ends it: a blank, a control character, a quotation mark, or what cannot stand in a URL unencoded
  Break,  // a tab or line break: browsers delete them from a pasted address
};

// Unicode's White_Space characters beyond ASCII: the no-break spaces, the
// typographic spaces, the line and paragraph separators, the ideographic space.
bool IsUnicodeSpace(char32_t c) {
  return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

// Quotation marks other than ASCII's (the CJK corner brackets among them):
// like the ASCII double quote, none of
// them stands in an address, so each ends one (and one that opens before an
// address is no part of it either).
bool IsUnicodeQuote(char32_t c) {
  return (c >= 0x2018 && c <= 0x201F) || c == 0xAB || c == 0xBB || c == 0x2039 || c == 0x203A ||
         (c >= 0x300C && c <= 0x300F) || (c >= 0x301D && c <= 0x301F) || c == 0xFF02 || c == 0xFF07;
}

constexpr Role AsciiRole(char c) {
  if (IsAsciiTabOrNewline(c)) return Role::Break;
  return (IsC0ControlOrSpace(c) || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '`') ? Role::Ends : Role::Part;
}

// Looked up byte by byte: a huge clipboard is scanned at memory speed.
constexpr std::array<Role, 0x80> kAsciiRoles = [] {
  std::array<Role, 0x80> roles{};
  for (std::size_t c = 0; c < 0x80; ++c) roles[c] = AsciiRole(static_cast<char>(c));
  return roles;
}();

Role RoleOf(char32_t c) {
  if (c < 0x80) return kAsciiRoles[c];
  return IsUnicodeSpace(c) || IsUnicodeQuote(c) ? Role::Ends : Role::Part;
}

bool IsBlank(char32_t c) { return c == ' ' || IsUnicodeSpace(c); }

Role RoleAt(std::string_view text, std::size_t pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  return RoleOf(byte < 0x80 ? byte : DecodeUtf8At(text, pos).codePoint);
}

bool EndsAddressAt(std::string_view text, std::size_t pos) { return pos >= text.size() || RoleAt(text, pos) != Role::Part; }

// A control character (not a tab or line break) with more of the word after it.
bool IsControlInsideWord(std::string_view text, std::size_t pos) {
  if (pos + 1 >= text.size()) return false;
  const auto byte = static_cast<unsigned char>(text[pos]);
  const bool control = (byte < 0x20 || byte == 0x7F) && RoleOf(byte) == Role::Ends;
  return control && RoleAt(text, pos + 1) == Role::Part;
}

// Sentence punctuation, also the fullwidth and ideographic forms.
bool EndsSentence(char32_t c) {
  if (c < 0x80) return ".,;:!?"sv.find(static_cast<char>(c)) != kNone;
  return c == 0x2026 || c == 0x3001 || c == 0x3002 || c == 0xFF01 || c == 0xFF0C || c == 0xFF0E || c == 0xFF1A ||
         c == 0xFF1B || c == 0xFF1F;
}

struct BracketPair {
  char32_t open, close;
};

// Brackets, with the fullwidth and CJK ones treated like their ASCII partners.
constexpr std::array<BracketPair, 12> kBracketPairs{{
    {'(', ')'}, {'[', ']'}, {'{', '}'}, {0xFF08, 0xFF09}, {0xFF3B, 0xFF3D}, {0xFF5B, 0xFF5D}, {0x3010, 0x3011},
    {0x3008, 0x3009}, {0x300A, 0x300B}, {0x3014, 0x3015}, {0x3016, 0x3017}, {0x27E8, 0x27E9},
}};

struct Spelling {
  std::string_view written;  // lower case
  char meaning;
};

// How addresses are commonly "defanged" so that nobody follows them by accident.
constexpr std::array<Spelling, 8> kDefangedSpellings{{
    {"[.]", '.'},
    {"(.)", '.'},
    {"{.}", '.'},
    {"[dot]", '.'},
    {"(dot)", '.'},
    {"[d]", '.'},
    {"[/]", '/'},
    {"[:]", ':'},
}};

const Spelling* DefangedSpellingAt(std::string_view text, std::size_t pos) {
  if ("[({"sv.find(text[pos]) == kNone) return nullptr;
  for (const Spelling& spelling : kDefangedSpellings) {
    if (StartsWithAt(text, pos, spelling.written)) return &spelling;
  }
  return nullptr;
}

struct Separator {
  std::size_t length;
  bool defanged;
};

struct Form {
  std::string_view written;  // lower case
  bool defanged;
};

// "://" or a defanged form of it: "[:]//", "[://]", ":\\", ":[/][/]" and the like.
std::optional<Separator> SeparatorAt(std::string_view text, std::size_t pos) {
  if (StartsWithAt(text, pos, "[://]")) return Separator{5, true};
  std::size_t at = pos;
  bool defanged = false;
  if (StartsWithAt(text, at, ":")) {
    at += 1;
  } else if (StartsWithAt(text, at, "[:]")) {
    at += 3;
    defanged = true;
  } else {
    return std::nullopt;
  }
  static constexpr std::array<Form, 4> kSlashes{{{"//", false}, {"\\\\", true}, {"[/][/]", true}, {"[//]", true}}};
  for (const Form& slashes : kSlashes) {
    if (StartsWithAt(text, at, slashes.written)) {
      return Separator{at + slashes.written.size() - pos, defanged || slashes.defanged};
    }
  }
  return std::nullopt;
}

struct Scheme {
  bool https;
  std::size_t length;  // with the separator
};

// "http" or "https", also defanged ("hxxp", "h**p", "h__p"), and a separator.
std::optional<Scheme> SchemeAt(std::string_view text, std::size_t pos) {
  if (!StartsWithAt(text, pos, "h")) return std::nullopt;
  static constexpr std::array<std::string_view, 4> kMiddles{"tt", "xx", "**", "__"};
  const bool middleFits = std::any_of(kMiddles.begin(), kMiddles.end(),
                                      [&](std::string_view middle) { return StartsWithAt(text, pos + 1, middle); });
  if (!middleFits || !StartsWithAt(text, pos + 3, "p")) return std::nullopt;
  if (StartsWithAt(text, pos + 4, "s")) {
    if (const auto separator = SeparatorAt(text, pos + 5)) return Scheme{true, 5 + separator->length};
  }
  if (const auto separator = SeparatorAt(text, pos + 4)) return Scheme{false, 4 + separator->length};
  return std::nullopt;
}

// The address as it is being read, and for each of its bytes where its
// source in the text ends. Past kMaxAddressBytes nothing more is copied.
struct AddressCopy {
  std::string bytes;
  std::vector<std::size_t> sourceEnds;
  bool tooLong = false;  // the address goes on past kMaxAddressBytes

  void Append(std::string_view piece, std::size_t sourceEnd) {
    if (tooLong || bytes.size() + piece.size() > kMaxAddressBytes) {
      tooLong = true;
      return;
    }
    bytes += piece;
    sourceEnds.insert(sourceEnds.end(), piece.size(), sourceEnd);
  }
  void PopBack() {
    bytes.pop_back();
    sourceEnds.pop_back();
  }
};

const BracketPair* PairClosedBy(char32_t c) {
  const auto* pair = std::find_if(kBracketPairs.begin(), kBracketPairs.end(), [c](const BracketPair& p) { return p.close == c; });
  return pair == kBracketPairs.end() ? nullptr : pair;
}

// What trimming may take off the address's end: a closing bracket or quote.
bool IsCloser(char32_t c) { return c == '\'' || PairClosedBy(c) != nullptr; }

// What a host name is made of, without its dots: ASCII letters and digits,
// "-", "_", "~", "%", and the fullwidth letters and digits that a host reads
// as ASCII. Other characters beyond ASCII are left out: prose in scripts
// written without blanks goes on straight after a closing quote.
bool IsNameCharacter(char32_t c) {
  if (c < 0x80) return IsAsciiAlphanumeric(static_cast<char>(c)) || c == '-' || c == '_' || c == '~' || c == '%';
  return (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

// A character of the text as the address reads it: a defanged spelling is what it stands for.
struct ReadCharacter {
  char32_t codePoint;
  std::size_t length;
};

ReadCharacter ReadAt(std::string_view text, std::size_t pos) {
  if (const Spelling* spelling = DefangedSpellingAt(text, pos)) {
    return {static_cast<char32_t>(spelling->meaning), spelling->written.size()};
  }
  const DecodedCharacter character = DecodeUtf8At(text, pos);
  return {character.codePoint, character.length};
}

// After a mark, "." and ":" go on only into a name or "@" before the address
// ends: `"https://a.example".` ends at the quote, while
// `https://paypal.com".evil.example` is one authority. Returns where that
// name or "@" stands.
std::optional<std::size_t> NameAfterPunctuation(std::string_view text, std::size_t at) {
  bool blank = false;
  while (at < text.size()) {
    const ReadCharacter character = ReadAt(text, at);
    const char32_t c = character.codePoint;
    if (c == '@') return at;
    if (IsBlank(c)) {
      blank = true;
    } else if (blank) {
      return std::nullopt;  // a blank goes on only into user information
    } else if (IsNameCharacter(c)) {
      return at;
    } else if (RoleOf(c) == Role::Part && !EndsSentence(c) && !IsCloser(c)) {
      return std::nullopt;
    }
    at += character.length;
  }
  return std::nullopt;
}

// What a browser refuses in a host, and takes in user information only.
bool IsForbiddenInHost(char32_t c) {
  return c == '<' || c == '>' || c == 0x7F || (c < 0x20 && !IsAsciiTabOrNewline(static_cast<char>(c)));
}

// After "<", ">" or a control character the authority goes on only into user
// information: a browser refuses them in a host. So an "@" must come before
// the authority or the address ends, with no more of them between it and
// that end: `<a href="https://a.example">bob@b.example</a>` ends at the quote.
// Returns where that "@" stands.
std::optional<std::size_t> UserInformationAhead(std::string_view text, std::size_t at) {
  std::optional<std::size_t> atSign;
  while (at < text.size()) {
    const ReadCharacter character = ReadAt(text, at);
    const char32_t c = character.codePoint;
    if (IsBlank(c) || (c < 0x80 && EndsSpecialAuthority(static_cast<char>(c)))) break;
    if (c == '@') atSign = at;
    if (IsForbiddenInHost(c)) atSign = std::nullopt;
    at += character.length;
  }
  return atSign;
}

// The authority interrupted by what ends an address in running text: a
// quotation mark, "<", ">", "`", a control character ("marks"), a blank, a
// tab or a line break. A browser given the text reads on to the authority's
// end: "https://paypal.com\"@evil.example/" opens evil.example, and
// "https://paypal.com\u201Devil.example/" a name under evil.example, so the
// part before the interruption is never what is checked. The authority goes
// on through it into "@"; after a tab or line break alone (which a browser
// deletes) into "." or ":"; after a quotation mark or "`" into a name
// character, or into "." or ":" that lead to a name; after "<", ">" or a
// control character only into user information (elsewhere a browser refuses
// the address, and an unquoted HTML attribute ends there). A blank goes on
// only into "@": a browser refuses a blank in a host. Elsewhere the address
// ends there, so that quotes and markup around it and the words after it
// stay outside it.
class AuthorityInterruptions {
 public:
  explicit AuthorityInterruptions(std::string_view text) : text_(text) {}

  // Whether the authority goes on through the interruption at `pos`.
  bool GoOnAt(std::size_t pos) {
    if (pos < knownToGoOnBefore_) return true;
    bool blank = false, mark = false, forbidden = false;
    std::size_t at = pos;
    while (at < text_.size()) {
      const DecodedCharacter character = DecodeUtf8At(text_, at);
      const Role role = RoleOf(character.codePoint);
      if (role == Role::Part) break;
      blank = blank || IsBlank(character.codePoint);
      mark = mark || (role == Role::Ends && !IsBlank(character.codePoint));
      forbidden = forbidden || IsForbiddenInHost(character.codePoint);
      at += character.length;
    }
    if (at >= text_.size()) return false;
    const char32_t next = ReadAt(text_, at).codePoint;
    std::optional<std::size_t> goesOnTo;
    if (next == '@') {
      goesOnTo = at;
    } else if (blank) {
      goesOnTo = std::nullopt;
    } else if (forbidden) {
      // A browser opens nothing there, or the host after the "@".
      goesOnTo = UserInformationAhead(text_, at);
    } else if (next == '.' || next == ':') {
      goesOnTo = mark ? NameAfterPunctuation(text_, at) : at;
    } else if (mark && IsNameCharacter(next)) {
      goesOnTo = at;
    }
    // Every interruption before that point goes on too: each stretch of the text is looked at once.
    if (goesOnTo) knownToGoOnBefore_ = *goesOnTo;
    return goesOnTo.has_value();
  }

 private:
  std::string_view text_;
  std::size_t knownToGoOnBefore_ = 0;
};

// An authority interrupted at `pos` with nothing after it but more
// interruptions and punctuation: the text ends before it tells whether the
// authority goes on, as it might past a cut.
bool UndecidedToTheEnd(std::string_view text, std::size_t pos) {
  while (pos < text.size()) {
    const DecodedCharacter character = DecodeUtf8At(text, pos);
    const char32_t c = character.codePoint;
    if (RoleOf(c) == Role::Part && !EndsSentence(c) && !IsCloser(c)) return false;
    pos += character.length;
  }
  return true;
}

// Copies the address from `pos` until it ends, or with `authorityOnly` until
// its authority ends, undoing defanged spellings. Returns where it stopped.
std::size_t CopyAddress(std::string_view text, std::size_t pos, bool authorityOnly, AddressCopy& copy) {
  AuthorityInterruptions interruptions(text);
  while (pos < text.size()) {
    const DecodedCharacter character = DecodeUtf8At(text, pos);
    const Role role = RoleOf(character.codePoint);
    if (role != Role::Part) {
      if (!authorityOnly || !interruptions.GoOnAt(pos)) break;
      // Tabs and line breaks go, as a browser deletes them; the rest stays for the parser to judge.
      if (role == Role::Ends) copy.Append(text.substr(pos, character.length), pos + character.length);
      pos += character.length;
      continue;
    }
    if (character.length > 1) {
      copy.Append(text.substr(pos, character.length), pos + character.length);
      pos += character.length;
      continue;
    }
    const Spelling* spelling = DefangedSpellingAt(text, pos);
    const char c = spelling ? spelling->meaning : text[pos];
    if (authorityOnly && EndsSpecialAuthority(c)) break;
    pos += spelling ? spelling->written.size() : 1;
    copy.Append(std::string_view(&c, 1), pos);
  }
  return pos;
}

// Marks, by the byte where it starts, each closing bracket or quote that
// closes something opened inside the address itself. One bit a byte, so that
// a huge address costs little.
std::vector<bool> PartneredClosers(std::string_view body) {
  std::array<int, kBracketPairs.size()> open{};
  bool quoteOpen = false;
  std::vector<bool> partnered(body.size());
  for (std::size_t at = 0; at < body.size();) {
    const DecodedCharacter character = DecodeUtf8At(body, at);
    const char32_t c = character.codePoint;
    for (std::size_t kind = 0; kind < kBracketPairs.size(); ++kind) {
      if (c == kBracketPairs[kind].open) {
        ++open[kind];
      } else if (c == kBracketPairs[kind].close && open[kind] > 0) {
        --open[kind];
        partnered[at] = true;
      }
    }
    if (c == '\'') {
      partnered[at] = quoteOpen;
      quoteOpen = !quoteOpen;
    }
    at += character.length;
  }
  return partnered;
}

// Drops what ends the sentence around the address, and closing brackets and
// quotes whose opening partner stands before the address.
void TrimTrailing(AddressCopy& copy, std::size_t bodyStart) {
  const std::vector<bool> partnered = PartneredClosers(std::string_view(copy.bytes).substr(bodyStart));
  while (copy.bytes.size() > bodyStart) {
    std::size_t last = copy.bytes.size() - 1;
    while (last > bodyStart && !IsCharacterStart(copy.bytes, last)) --last;
    const char32_t c = DecodeUtf8At(copy.bytes, last).codePoint;
    if (!EndsSentence(c) && !(IsCloser(c) && !partnered[last - bodyStart])) break;
    while (copy.bytes.size() > last) copy.PopBack();
  }
}

struct Attempt {
  std::optional<FoundLink> link;
  std::size_t resumeAt = 0;  // where to look on: after the link, or past what was read
};

// Reads the address whose scheme starts at `pos`. The authority is read and
// judged first, so that a text full of empty addresses is still read once.
Attempt ReadLinkAt(std::string_view text, std::size_t pos, const Scheme& scheme) {
  AddressCopy copy;
  const std::size_t bodyAt = pos + scheme.length;
  copy.Append(scheme.https ? "https://"sv : "http://"sv, bodyAt);
  const std::size_t bodyStart = copy.bytes.size();

  const std::size_t authorityEnd = CopyAddress(text, bodyAt, true, copy);
  // A control character inside the host makes a browser refuse the address:
  // the piece before it is not what the text links to.
  if (IsControlInsideWord(text, authorityEnd)) return {std::nullopt, authorityEnd + 1};
  const bool addressEnded = EndsAddressAt(text, authorityEnd);
  if (addressEnded) TrimTrailing(copy, bodyStart);
  if (const auto parts = SplitWebAddress(copy.bytes); !parts || !HasHost(*parts)) {
    return {std::nullopt, std::max(authorityEnd, pos + 1)};
  }
  std::size_t end = authorityEnd;
  if (!addressEnded) {
    end = CopyAddress(text, authorityEnd, false, copy);
    TrimTrailing(copy, bodyStart);
  }

  FoundLink link;
  link.tooLong = copy.tooLong;
  link.runsToEnd = end == text.size() || (addressEnded && UndecidedToTheEnd(text, authorityEnd));
  // A link copied whole ends where its copy ends, after trimming.
  if (!copy.tooLong) end = copy.sourceEnds.back();
  link.written = std::string(text.substr(pos, copy.sourceEnds.back() - pos));
  std::string writtenWithoutBreaks = LowerAscii(link.written);
  std::erase_if(writtenWithoutBreaks, IsAsciiTabOrNewline);
  link.refanged = writtenWithoutBreaks != LowerAscii(copy.bytes);
  link.address = std::move(copy.bytes);
  return {std::move(link), end};
}

// --- Link wrappers -----------------------------------------------------------

// What a wrapper is told by; `address` is "http://" or "https://" and more.
struct WrapperParts {
  std::string host;            // lower case, without user information and port
  std::string_view path;       // from the authority's end up to "?" or "#"
  std::string_view query;      // after "?" up to "#"
  std::string_view afterHost;  // everything after the authority
};

WrapperParts SplitForWrapper(std::string_view address) {
  const auto split = SplitWebAddress(address);
  WrapperParts parts;
  if (!split) return parts;
  parts.host = LowerAscii(split->host);
  parts.afterHost = split->rest;
  const std::string_view beforeFragment = parts.afterHost.substr(0, parts.afterHost.find('#'));
  const std::size_t queryAt = beforeFragment.find('?');
  parts.path = beforeFragment.substr(0, queryAt);
  if (queryAt != kNone) parts.query = beforeFragment.substr(queryAt + 1);
  return parts;
}

std::optional<std::string_view> QueryValue(std::string_view query, std::string_view name) {
  while (!query.empty()) {
    const std::string_view item = query.substr(0, query.find('&'));
    if (item.size() > name.size() && item.starts_with(name) && item[name.size()] == '=') {
      return item.substr(name.size() + 1);
    }
    query.remove_prefix(std::min(item.size() + 1, query.size()));
  }
  return std::nullopt;
}

std::optional<std::string> DecodedQueryValue(std::string_view query, std::string_view name) {
  const auto value = QueryValue(query, name);
  if (!value) return std::nullopt;
  return PercentDecode(*value);
}

std::string WithLowerCaseScheme(std::string_view address) {
  const std::size_t schemeEnd = address.find(':');
  return LowerAscii(address.substr(0, schemeEnd)) + std::string(address.substr(schemeEnd));
}

// Proofpoint's v2 form: "-XX" is a hex-escaped byte and "_" a "/" (an
// escaped "_" stays one: "_" never stands in an escape, so it may go first).
std::string DecodeUrlDefenseV2(std::string_view value) {
  std::string slashed(value);
  std::replace(slashed.begin(), slashed.end(), '_', '/');
  return PercentDecode(slashed, '-');
}

// The base64url digits; Proofpoint's run lengths count with the same digits.
constexpr std::string_view kBase64UrlDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::optional<std::string> Base64UrlDecode(std::string_view text) {
  std::string bytes;
  unsigned bits = 0;
  int bitCount = 0;
  for (const char c : text) {
    if (c == '=') continue;
    std::size_t value = kBase64UrlDigits.find(c == '+' ? '-' : c == '/' ? '_' : c);
    if (value == kNone) return std::nullopt;
    bits = (bits << 6) | static_cast<unsigned>(value);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      bytes += static_cast<char>((bits >> bitCount) & 0xFF);
    }
  }
  return bytes;
}

// "**X" stands for a run of characters whose length X gives: "A" is 2, "B" 3, ...
std::optional<std::size_t> RunLength(char c) {
  const std::size_t index = kBase64UrlDigits.find(c);
  if (index == kNone) return std::nullopt;
  return index + 2;
}

// Proofpoint's v3 form replaces some characters of the address with "*" (one
// character) or "**X" (a run) and lists them, in order, in a table after "__;".
std::optional<std::string> SubstituteStars(std::string_view url, std::string_view table) {
  std::string restored;
  std::size_t used = 0;
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] != '*') {
      restored += url[i];
      continue;
    }
    std::size_t characters = 1;
    if (i + 2 < url.size() && url[i + 1] == '*') {
      const auto run = RunLength(url[i + 2]);
      if (!run) return std::nullopt;
      characters = *run;
      i += 2;
    }
    for (; characters > 0; --characters) {
      if (used >= table.size()) return std::nullopt;
      const std::size_t length = DecodeUtf8At(table, used).length;
      restored.append(table.substr(used, length));
      used += length;
    }
  }
  return restored;
}

// The v3 form may write "https:/host"; browsers read that as "https://host".
std::string WithDoubleSlash(std::string url) {
  const std::size_t colon = url.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 2 >= url.size()) return url;
  const bool schemeOnly = std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon), IsSchemeCharacter);
  if (schemeOnly && url[colon + 1] == '/' && url[colon + 2] != '/') url.insert(colon + 1, "/");
  return url;
}

std::optional<std::string> DecodeUrlDefenseV3(std::string_view rest) {
  const std::size_t urlEnd = rest.find("__;");
  if (urlEnd == kNone) return std::nullopt;
  const std::size_t tableAt = urlEnd + 3;
  const std::size_t tableEnd = rest.find('!', tableAt);
  if (tableEnd == kNone) return std::nullopt;
  const auto table = Base64UrlDecode(rest.substr(tableAt, tableEnd - tableAt));
  if (!table) return std::nullopt;
  return SubstituteStars(PercentDecode(WithDoubleSlash(std::string(rest.substr(0, urlEnd)))), *table);
}

// Each returns the target when the address has its wrapper's form.
std::optional<std::string> SafeLinksTarget(const WrapperParts& parts) {
  if (!parts.host.ends_with(".safelinks.protection.outlook.com")) return std::nullopt;
  return DecodedQueryValue(parts.query, "url");
}

std::optional<std::string> UrlDefenseTarget(const WrapperParts& parts) {
  if (parts.host == "urldefense.com" || parts.host == "urldefense.proofpoint.com") {
    if (parts.afterHost.starts_with("/v3/__")) return DecodeUrlDefenseV3(parts.afterHost.substr(6));
  }
  if (parts.host != "urldefense.proofpoint.com") return std::nullopt;
  if (parts.path == "/v1/url") return DecodedQueryValue(parts.query, "u");
  if (parts.path != "/v2/url") return std::nullopt;
  const auto value = QueryValue(parts.query, "u");
  if (!value) return std::nullopt;
  return DecodeUrlDefenseV2(*value);
}

// Google writes the target as "q" or "url" and leaves the other one empty.
std::optional<std::string> GoogleRedirectTarget(const WrapperParts& parts) {
  if ((parts.host != "www.google.com" && parts.host != "google.com") || parts.path != "/url") return std::nullopt;
  for (const std::string_view name : {"q"sv, "url"sv}) {
    if (auto target = DecodedQueryValue(parts.query, name); target && IsWebAddress(*target)) return target;
  }
  return std::nullopt;
}

std::optional<std::string> BarracudaTarget(const WrapperParts& parts) {
  if (parts.host != "linkprotect.cudasvc.com" || parts.path != "/url") return std::nullopt;
  return DecodedQueryValue(parts.query, "a");
}

struct Wrapper {
  std::string_view name;
  std::optional<std::string> (*target)(const WrapperParts&);
};

// Wrappers that write their target inside the link (docs/link-wrappers.md).
constexpr std::array<Wrapper, 4> kWrappers{{
    {"Microsoft Safe Links", SafeLinksTarget},
    {"Proofpoint URL Defense", UrlDefenseTarget},
    {"Google's redirect", GoogleRedirectTarget},
    {"Barracuda Link Protection", BarracudaTarget},
}};

// The wrapper's target when it is a web address; a wrapper around anything
// else is checked as the wrapper it is.
bool UnwrapOnce(FoundLink& link) {
  const WrapperParts parts = SplitForWrapper(link.address);
  for (const Wrapper& wrapper : kWrappers) {
    const auto target = wrapper.target(parts);
    if (!target) continue;
    if (!IsWebAddress(*target)) return false;
    link.address = WithLowerCaseScheme(*target);
    link.unwrappedFrom.emplace_back(wrapper.name);
    return true;
  }
  return false;
}

void Unwrap(FoundLink& link) {
  for (int depth = 0; depth < kMaxUnwrapDepth; ++depth) {
    if (!UnwrapOnce(link)) return;
  }
}

}  // namespace

namespace {

// A text of addresses broken only by tabs and line breaks, as mail programs
// wrap a long link: the breaks go, as a browser deletes them from a pasted
// address, except before a line that starts with a web scheme, which starts
// the next address of a list. A text with a blank in it is running text,
// where a line break ends an address.
std::string_view WithoutBreaksOfAddressList(std::string_view text, std::string& storage) {
  if (text.find_first_of("\t\n\r") == std::string_view::npos) return text;
  bool content = false;  // a blank between two pieces of content makes it running text
  bool blankAfterContent = false;
  for (std::size_t at = 0; at < text.size();) {
    const DecodedCharacter character = DecodeUtf8At(text, at);
    at += character.length;
    if (RoleOf(character.codePoint) == Role::Break) continue;
    if (IsBlank(character.codePoint)) {
      blankAfterContent = content;
    } else if (blankAfterContent) {
      return text;
    } else {
      content = true;
    }
  }
  storage.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (!IsAsciiTabOrNewline(text[at])) {
      storage += text[at++];
      continue;
    }
    while (at < text.size() && IsAsciiTabOrNewline(text[at])) ++at;
    if (!storage.empty() && SchemeAt(text, at)) storage += '\n';
  }
  return storage;
}

}  // namespace

LinkFinder::LinkFinder(std::string_view text) : text_(WithoutBreaksOfAddressList(text, joined_)) {}

std::optional<FoundLink> LinkFinder::Next() {
  for (pos_ = text_.find_first_of("hH", pos_); pos_ != kNone; pos_ = text_.find_first_of("hH", pos_)) {
    const auto scheme = SchemeAt(text_, pos_);
    if (!scheme) {
      ++pos_;
      continue;
    }
    Attempt attempt = ReadLinkAt(text_, pos_, *scheme);
    pos_ = std::max(attempt.resumeAt, pos_ + 1);
    if (!attempt.link) continue;
    if (!attempt.link->tooLong) Unwrap(*attempt.link);
    return std::move(attempt.link);
  }
  pos_ = text_.size();
  return std::nullopt;
}

std::vector<FoundLink> FindLinks(std::string_view text, std::size_t maxLinks) {
  LinkFinder finder(text);
  std::vector<FoundLink> links;
  while (links.size() < maxLinks) {
    std::optional<FoundLink> found = finder.Next();
    if (!found) break;
    const bool seen =
        std::any_of(links.begin(), links.end(), [&](const FoundLink& link) { return link.address == found->address; });
    if (!seen) links.push_back(std::move(*found));
  }
  return links;
}

}  // namespace vantisk
