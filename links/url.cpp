#include "links/url.h"

#include <algorithm>
#include <vector>

#include "links/ascii.h"
#include "links/percent.h"
#include "links/utf8.h"

namespace vantisk {
namespace {

constexpr bool IsSlash(char c) { return c == '/' || c == '\\'; }

std::uint16_t DefaultPort(bool https) { return https ? 443 : 80; }

// The basic URL parser's first steps: leading and trailing C0 controls and
// spaces go, and every ASCII tab and newline. The Standard works on code
// points, so a malformed UTF-8 sequence reads as U+FFFD.
std::string PreprocessInput(std::string_view input) {
  const auto first = std::find_if_not(input.begin(), input.end(), IsC0ControlOrSpace);
  const auto last = std::find_if_not(input.rbegin(), std::make_reverse_iterator(first), IsC0ControlOrSpace).base();
  std::string cleaned;
  std::copy_if(first, last, std::back_inserter(cleaned), [](char c) { return !IsAsciiTabOrNewline(c); });
  return ToUtf8(ToCodePoints(cleaned));
}

// https://url.spec.whatwg.org/#single-dot-path-segment
bool IsSingleDotPathSegment(std::string_view segment) {
  return segment == "." || EqualsIgnoringCase(segment, "%2e");
}

// https://url.spec.whatwg.org/#double-dot-path-segment
bool IsDoubleDotPathSegment(std::string_view segment) {
  return segment == ".." || EqualsIgnoringCase(segment, ".%2e") || EqualsIgnoringCase(segment, "%2e.") ||
         EqualsIgnoringCase(segment, "%2e%2e");
}

// The states of the basic URL parser that an absolute http or https URL
// passes through, in their order; each takes its part of the input from
// `pointer_` on and leaves `pointer_` on the character that ended it.
class BasicUrlParser {
 public:
  explicit BasicUrlParser(std::string_view input) : input_(input) {}

  std::optional<WebUrl> Parse() {
    if (!SchemeState()) return std::nullopt;
    SpecialAuthorityIgnoreSlashesState();
    if (!AuthorityState() || !HostState() || !PortState()) return std::nullopt;
    PathStartState();
    PathState();
    QueryState();
    FragmentState();
    return std::move(url_);
  }

 private:
  bool AtEnd() const { return pointer_ >= input_.size(); }
  bool At(char c) const { return !AtEnd() && input_[pointer_] == c; }
  // The input from `pointer_` up to the first character that `ends`, or to its end.
  template <typename Ends>
  std::string_view TakeUntil(Ends ends) {
    const auto start = input_.begin() + static_cast<std::ptrdiff_t>(pointer_);
    const auto end = std::find_if(start, input_.end(), ends);
    pointer_ = static_cast<std::size_t>(end - input_.begin());
    return {start, end};
  }

  // https://url.spec.whatwg.org/#scheme-start-state and #scheme-state: an
  // ASCII letter, then letters, digits, "+", "-" and "."; then ":". With no
  // base, any other start fails.
  bool SchemeState() {
    if (AtEnd() || !IsAsciiAlpha(input_[pointer_])) return false;
    const std::string_view scheme =
        TakeUntil([](char c) { return !IsSchemeCharacter(c); });
    if (!At(':')) return false;
    ++pointer_;
    url_.https = EqualsIgnoringCase(scheme, "https");
    return url_.https || EqualsIgnoringCase(scheme, "http");
  }

  // https://url.spec.whatwg.org/#special-authority-slashes-state and
  // #special-authority-ignore-slashes-state: any number of "/" and "\",
  // none included, may come before the authority.
  void SpecialAuthorityIgnoreSlashesState() { TakeUntil([](char c) { return !IsSlash(c); }); }

  // https://url.spec.whatwg.org/#authority-state: user information is all
  // before the authority's last "@", split at its first ":"; an "@" inside
  // it is encoded (step 1.1 prepends "%40", which the userinfo set gives too).
  bool AuthorityState() {
    const std::size_t start = pointer_;
    const std::string_view authority = TakeUntil(EndsSpecialAuthority);
    const std::size_t atSign = authority.rfind('@');
    pointer_ = start;
    if (atSign == std::string_view::npos) return true;
    if (atSign + 1 == authority.size()) return false;  // step 2.1: host missing
    const std::string_view userInfo = authority.substr(0, atSign);
    const std::size_t colon = userInfo.find(':');
    url_.username = PercentEncode(userInfo.substr(0, colon), kUserinfoSet);
    if (colon != std::string_view::npos) url_.password = PercentEncode(userInfo.substr(colon + 1), kUserinfoSet);
    pointer_ += atSign + 1;
    return true;
  }

  // https://url.spec.whatwg.org/#host-state: up to the authority's end or a
  // ":" that is not inside "[...]".
  bool HostState() {
    bool insideBrackets = false;
    const std::string_view buffer = TakeUntil([&insideBrackets](char c) {
      if (c == '[') insideBrackets = true;
      if (c == ']') insideBrackets = false;
      return EndsSpecialAuthority(c) || (c == ':' && !insideBrackets);
    });
    if (buffer.empty()) return false;
    std::optional<Host> host = ParseHost(buffer);
    if (!host) return false;
    url_.host = std::move(host->serialized);
    url_.hostKind = host->kind;
    return true;
  }

  // https://url.spec.whatwg.org/#port-state: decimal digits only, leading
  // zeros allowed, at most 65535; the scheme's default port is dropped.
  bool PortState() {
    if (!At(':')) return true;
    ++pointer_;
    const std::string_view digits = TakeUntil([](char c) { return !IsAsciiDigit(c); });
    if (!AtEnd() && !EndsSpecialAuthority(input_[pointer_])) return false;
    std::uint32_t port = 0;
    for (const char digit : digits) {
      port = port * 10 + static_cast<std::uint32_t>(digit - '0');
      if (port > 0xFFFF) return false;
    }
    if (!digits.empty() && port != DefaultPort(url_.https)) url_.port = static_cast<std::uint16_t>(port);
    return true;
  }

  // https://url.spec.whatwg.org/#path-start-state: one "/" or "\" belongs to it.
  void PathStartState() {
    if (!AtEnd() && IsSlash(input_[pointer_])) ++pointer_;
  }

  // https://url.spec.whatwg.org/#path-state: segments end at "/" or "\";
  // the path at "?", "#" or the end. Dot segments are taken out as they come.
  void PathState() {
    std::vector<std::string> path;
    while (true) {
      const std::string buffer = PercentEncode(TakeUntil(EndsSpecialAuthority), kPathSet);
      const bool slash = !AtEnd() && IsSlash(input_[pointer_]);
      if (IsDoubleDotPathSegment(buffer)) {
        if (!path.empty()) path.pop_back();  // shorten the path
        if (!slash) path.emplace_back();
      } else if (IsSingleDotPathSegment(buffer)) {
        if (!slash) path.emplace_back();
      } else {
        path.push_back(buffer);
      }
      if (!slash) break;
      ++pointer_;
    }
    for (const std::string& segment : path) url_.path.append("/").append(segment);
  }

  // https://url.spec.whatwg.org/#query-state: up to "#", with the special-query set.
  void QueryState() {
    if (!At('?')) return;
    ++pointer_;
    url_.query = PercentEncode(TakeUntil([](char c) { return c == '#'; }), kSpecialQuerySet);
  }

  // https://url.spec.whatwg.org/#fragment-state: the rest, with the fragment set.
  void FragmentState() {
    if (!At('#')) return;
    ++pointer_;
    url_.fragment = PercentEncode(input_.substr(pointer_), kFragmentSet);
    pointer_ = input_.size();
  }

  std::string_view input_;
  std::size_t pointer_ = 0;
  WebUrl url_;
};

// https://url.spec.whatwg.org/#url-serializer
std::string Serialize(const WebUrl& url, bool withUserInfo) {
  std::string output = url.https ? "https://" : "http://";
  if (withUserInfo && (!url.username.empty() || !url.password.empty())) {
    output += url.username;
    if (!url.password.empty()) output.append(":").append(url.password);
    output += '@';
  }
  output += url.host;
  if (url.port) output.append(":").append(std::to_string(*url.port));
  output += url.path;
  if (url.query) output.append("?").append(*url.query);
  if (url.fragment) output.append("#").append(*url.fragment);
  return output;
}

}  // namespace

std::string WebUrl::Href() const { return Serialize(*this, true); }

std::string WebUrl::HrefWithoutUserInfo() const { return Serialize(*this, false); }

std::string WebUrl::Origin() const {
  std::string origin = https ? "https://" : "http://";
  origin += host;
  if (port) origin.append(":").append(std::to_string(*port));
  return origin;
}

std::optional<WebUrl> ParseWebUrl(std::string_view input) {
  const std::string preprocessed = PreprocessInput(input);
  return BasicUrlParser(preprocessed).Parse();
}

}  // namespace vantisk
