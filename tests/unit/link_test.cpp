#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "links/finder.h"
#include "links/notes.h"
#include "links/percent.h"

namespace vantisk {
namespace {

std::string Repeated(std::string_view piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::string InSafeLinks(std::string_view target) {
  return "https://eur01.safelinks.protection.outlook.com/?url=" + PercentEncode(target, kCheckerValueSet) +
         "&data=05%7C01&reserved=0";
}

std::string Nested(std::string target, int depth) {
  for (int i = 0; i < depth; ++i) target = InSafeLinks(target);
  return target;
}

// The first address of the text, as a check with one address takes it.
std::optional<FoundLink> FirstLink(std::string_view text) {
  std::vector<FoundLink> links = FindLinks(text, 1);
  if (links.empty()) return std::nullopt;
  return std::move(links.front());
}

const std::string kSafeLinks = "Microsoft Safe Links";
const std::string kUrlDefense = "Proofpoint URL Defense";

struct FindCase {
  std::string text;
  std::optional<std::string> address;  // nothing: no web address in the text
  std::vector<std::string> unwrappedFrom = {};
  bool refanged = false;
};

TEST(FindLink, FindsRefangsAndUnwrapsRealWorldText) {
  const FindCase cases[] = {
      // The address in running text, without what ends the sentence or closes around it.
      {"https://a.example/x", "https://a.example/x"},
      {"Please open https://a.example/x. Thanks", "https://a.example/x"},
      {"<https://a.example/x>, \"https://b.example/\"", "https://a.example/x"},
      {"'https://a.example/x'!", "https://a.example/x"},
      {"[the docs](https://a.example/x)", "https://a.example/x"},
      {"(see https://w.example/wiki/Foo_(bar)).", "https://w.example/wiki/Foo_(bar)"},
      {"<a href=\"https://a.example/x\">here</a>", "https://a.example/x"},
      {"From: Bob <bob@a.example>\r\nLink: HTTPS://A.example/x?y=1&z;", "https://A.example/x?y=1&z"},
      {"http://one.example/ then http://two.example/", "http://one.example/"},
      {"https://a.example/x?!", "https://a.example/x"},
      {"https://b\xC3\xBC"
       "cher.example/\xC3\xA4",
       "https://b\xC3\xBC"
       "cher.example/\xC3\xA4"},
      {"http://:8/ http://.,/ and then http://c.example", "http://c.example"},
      // Unicode quotation marks, brackets, spaces and sentence ends, like their ASCII partners.
      {"\u201Chttps://a.example/x\u201D", "https://a.example/x"},
      {"\u00ABhttps://a.example/x\u00BB \u2018https://b.example/\u2019", "https://a.example/x"},
      {"\u300Chttps://a.example/x\u300D\u3092\u898B\u3066", "https://a.example/x"},
      {"\uFF08https://a.example/x\uFF09\u3002", "https://a.example/x"},
      {"https://w.example/\u3010x\u3011\u3002", "https://w.example/\u3010x\u3011"},
      {"https://a.example/x\u00A0and https://b.example/", "https://a.example/x"},
      {"https://a.example/x\u3000https://b.example/", "https://a.example/x"},
      {"https://a.example/x\u202F\u2028y", "https://a.example/x"},
      // Tabs and line breaks: deleted from one wrapped address and inside an
      // authority that goes on; elsewhere in running text they end the address.
      {"https://paypal.com\t@evil.example/", "https://paypal.com@evil.example/"},
      {"See https://paypal.com\t@evil.example/ now", "https://paypal.com@evil.example/"},
      {"Go to https://paypal.com\r\n.evil.example/x today", "https://paypal.com.evil.example/x"},
      {"  https://a.example/a/very/long/pa\r\nth?x=1&y=\r\n2\r\n", "https://a.example/a/very/long/path?x=1&y=2"},
      {"Visit https://a.example/x\nThanks a lot", "https://a.example/x"},
      {"Visit https://a.example\nThanks a lot", "https://a.example"},
      // Refanged, in any case, and only inside the address.
      {"Look: hxxps://evil[.]example/login.", "https://evil.example/login", {}, true},
      {"[.] hXXp://a(.)b{.}c[dot]d(DOT)e[d]f[/]p", "http://a.b.c.d.e.f/p", {}, true},
      {"h**ps[:]//a[.]example", "https://a.example", {}, true},
      {"h__p[://]a[.]example[:]8080/x", "http://a.example:8080/x", {}, true},
      {"http:\\\\a.example\\x", "http://a.example\\x", {}, true},
      {"http://a" + Repeated("[.]", 4096) + "b", "http://a" + std::string(4096, '.') + "b", {}, true},
      // No web address at all.
      {"", std::nullopt},
      {"no link here", std::nullopt},
      {"http:// https:///x http://@/ http://.,;:!?", std::nullopt},
      {"https:// a.example ftp://a.example/ hxxp//a.example", std::nullopt},
      {"javascript:alert(1)", std::nullopt},
      {"hxxp://" + Repeated("[.]", 4096), std::nullopt},
      // Unwrapped, offline.
      {InSafeLinks("https://a.example/x?y=1&z=2"), "https://a.example/x?y=1&z=2", {kSafeLinks}},
      {"https://urldefense.proofpoint.com/v1/url?u=http://a.example/x&k=oIvR%3D%0A",
       "http://a.example/x",
       {kUrlDefense}},
      {"https://urldefense.proofpoint.com/v2/url?u=https-3A__a.example_p-3Fq-3D1-26r-3D2&d=DwMF&c=x",
       "https://a.example/p?q=1&r=2",
       {kUrlDefense}},
      {"https://urldefense.com/v3/__https://a.example/p?q=1*r=2__;Jg!!ABC$",
       "https://a.example/p?q=1&r=2",
       {kUrlDefense}},
      {"https://urldefense.com/v3/__https:/a.example/**A*x__;JibDpA!!ABC$",
       "https://a.example/&&\xC3\xA4x",
       {kUrlDefense}},
      {"https://www.google.com/url?sa=t&q=&url=https%3A%2F%2Fa.example%2F&usg=x",
       "https://a.example/",
       {"Google's redirect"}},
      {"https://linkprotect.cudasvc.com/url?a=http%3a%2f%2fa.example%2fx&c=E,1,abc",
       "http://a.example/x",
       {"Barracuda Link Protection"}},
      {"hxxps://eur01[.]safelinks[.]protection[.]outlook[.]com/?url=HTTPS%3A%2F%2FA.example",
       "https://A.example",
       {kSafeLinks},
       true},
      {InSafeLinks("https://urldefense.proofpoint.com/v2/url?u=http-3A__a.example&d=x"),
       "http://a.example",
       {kSafeLinks, kUrlDefense}},
      // A backslash ends the authority, as browsers read it: the host is evil.example.
      {InSafeLinks("https://evil.example\\@good.example/"), "https://evil.example\\@good.example/", {kSafeLinks}},
      {Nested("https://a.example/", 5), "https://a.example/", std::vector<std::string>(5, kSafeLinks)},
      {Nested("https://a.example/", 6), InSafeLinks("https://a.example/"), std::vector<std::string>(5, kSafeLinks)},
      // A wrapper around anything but a plain web address is checked as it is.
      {InSafeLinks("javascript:alert(1)"), InSafeLinks("javascript:alert(1)")},
      {InSafeLinks("not an address"), InSafeLinks("not an address")},

      {"https://urldefense.com/v3/__https://a.example/**A__;Jg!!x$",
       "https://urldefense.com/v3/__https://a.example/**A__;Jg!!x$"},
      {"https://eur01.safelinks.protection.outlook.com@evil.example/?url=https%3A%2F%2Fa.example",
       "https://eur01.safelinks.protection.outlook.com@evil.example/?url=https%3A%2F%2Fa.example"},
  };
  for (const FindCase& test : cases) {
    SCOPED_TRACE(test.text.substr(0, 200));
    const auto found = FirstLink(test.text);
    ASSERT_EQ(found.has_value(), test.address.has_value());
    if (!found) continue;
    EXPECT_EQ(found->address, *test.address);
    EXPECT_EQ(found->unwrappedFrom, test.unwrappedFrom);
    EXPECT_EQ(found->refanged, test.refanged);
    EXPECT_TRUE(found->address.starts_with("http://") || found->address.starts_with("https://"));
  }
}

TEST(FindLinks, GivesEveryDistinctAddressInOrder) {
  const auto addresses = [](std::string_view text, std::size_t max) {
    std::vector<std::string> found;
    for (const FoundLink& link : FindLinks(text, max)) found.push_back(link.address);
    return found;
  };
  const std::string mail =
      "Hi, the invoice: https://one.example/a \u2026 or the portal https://two.example/b and https://three.example/c";
  EXPECT_EQ(addresses(mail, 15),
            (std::vector<std::string>{"https://one.example/a", "https://two.example/b", "https://three.example/c"}));
  EXPECT_EQ(addresses(mail, 2), (std::vector<std::string>{"https://one.example/a", "https://two.example/b"}));
  EXPECT_EQ(addresses("https://a.example/ " + InSafeLinks("https://a.example/") + " hxxps://b[.]example", 15),
            (std::vector<std::string>{"https://a.example/", "https://b.example"}));
  EXPECT_TRUE(addresses("no address", 15).empty());
}

// A huge address is found and named too long, not copied whole; what follows it is still found.
TEST(FindLinks, AnAddressTooLongToCheckIsFoundButNotCopied) {
  const std::string huge = "https://a.example/" + std::string(kMaxAddressBytes * 4, 'x');
  const std::vector<FoundLink> links = FindLinks("see " + huge + " and https://b.example/", 15);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_TRUE(links[0].tooLong);
  EXPECT_LE(links[0].address.size(), kMaxAddressBytes);
  EXPECT_EQ(links[1].address, "https://b.example/");
  EXPECT_FALSE(links[1].tooLong);
  EXPECT_TRUE(FindLinks("http://" + std::string(kMaxAddressBytes * 2, 'h'), 15).front().tooLong);
}

// Of a text that may be the start of a longer one, an address read to its
// end may be cut, also where its end there is trimmed, or where the text ends
// before it tells whether the authority goes on.
TEST(FindLinks, TellsWhetherTheAddressRanToTheTextsEnd) {
  EXPECT_TRUE(FindLinks("https://paypal.com" + std::string(4000, '.'), 1).front().runsToEnd);
  EXPECT_TRUE(FindLinks("see https://a.example/x?", 1).front().runsToEnd);
  EXPECT_TRUE(FindLinks("see https://paypal.com\u201D", 1).front().runsToEnd);
  EXPECT_TRUE(FindLinks("see https://paypal.com\". ", 1).front().runsToEnd);
  EXPECT_FALSE(FindLinks("see https://a.example\u201D and", 1).front().runsToEnd);
  EXPECT_FALSE(FindLinks("see https://a.example/x\u201D", 1).front().runsToEnd);
  EXPECT_FALSE(FindLinks("https://a.example/x and", 1).front().runsToEnd);
}

TEST(FindLink, KeepsTheAddressAsWritten) {
  EXPECT_EQ(FirstLink("Look: hxxps://evil[.]example/login.")->written, "hxxps://evil[.]example/login");
  const std::string wrapped = InSafeLinks("https://a.example/");
  EXPECT_EQ(FirstLink("(" + wrapped + ")")->written, wrapped);
}

TEST(FindLink, ReadsHostileTextInLinearTime) {
  const size_t size = 1 << 18;
  const auto start = std::chrono::steady_clock::now();
  for (const std::string_view piece : {"http:///", "hxxp[://][.]/", "http://@/", "h**ps[:]\\\\ ", "(((["}) {
    EXPECT_FALSE(FirstLink(Repeated(piece, size / piece.size())).has_value()) << piece;
  }
  EXPECT_TRUE(FirstLink("http://a/" + Repeated("(]'", size / 3)).has_value());
  EXPECT_TRUE(FirstLink("http://a" + Repeated("[.]", size / 3)).has_value());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

struct NoteCase {
  FoundLink found;
  LinkFacts facts;
  std::vector<std::string> lines;
  bool redFlag;
};

TEST(DescribeLink, NamesTheRealHostAndWhatWasUndone) {
  const FoundLink plain{.address = "https://a.example/", .written = "https://a.example/"};
  const NoteCase cases[] = {
      {plain, {.host = "a.example"}, {}, false},
      {plain,
       {.host = "evil.example", .userInfo = "paypal.com"},
       {"This link goes to evil.example, not to paypal.com."},
       true},
      {plain,
       {.host = "xn--bcher-kva.example",
        .unicodeHost = "b\xC3\xBC"
                       "cher.example"},
       {"This link goes to b\xC3\xBC"
        "cher.example, a name with international letters, spelled xn--bcher-kva.example in "
        "plain letters."},
       true},
      {plain,
       {.host = "xn--pple-43d.com", .unicodeHost = "\xD0\xB0pple.com", .mixedScripts = true},
       {"Beware: \xD0\xB0pple.com mixes letters of different alphabets, as look-alike names do. This link goes to "
        "xn--pple-43d.com."},
       true},
      {plain,
       {.host = "192.168.1.1", .writtenHost = "3232235777", .hostIsIp = true, .hostWasNumberInDisguise = true},
       {"This link goes to the IP address 192.168.1.1, written in disguise as 3232235777."},
       true},
      {plain,
       {.host = "[::1]", .hostIsIp = true},
       {"This link goes to the IP address [::1], not to a named site."},
       true},
      {{.written = "hxxps://evil[.]example", .refanged = true},
       {.host = "evil.example"},
       {"Refanged from hxxps://evil[.]example."},
       true},
      {{.unwrappedFrom = {kSafeLinks, kUrlDefense}},
       {.host = "a.example"},
       {"Unwrapped from Microsoft Safe Links, then Proofpoint URL Defense."},
       true},
      {plain,
       {.host = "paypal.com.secure-login.evil.example",
        .registrableDomain = "evil.example",
        .hiddenName = HiddenName{"evil.example", "paypal.com"}},
       {"This link goes to evil.example; paypal.com is only the front part of its name."},
       true},
      {plain, {.host = "mail.google.com", .registrableDomain = "google.com"},
       {"This link belongs to the site google.com."}, false},
      {plain,
       {.host = "news.example", .registrableDomain = "news.example", .removedTrackers = {"utm_source", "fbclid"}},
       {"Tracking parameters taken out: utm_source, fbclid."},
       false},
      {{.written = "hxxps://x[.]example/" + std::string(100, 'a'), .unwrappedFrom = {kSafeLinks}, .refanged = true},
       {.host = "a.example", .userInfo = std::string(100, 'u')},
       {"This link goes to a.example, not to " + std::string(80, 'u') + "....",
        "Refanged from hxxps://x[.]example/" + std::string(60, 'a') + "..., then unwrapped from Microsoft Safe Links."},
       true},
  };
  for (const NoteCase& test : cases) {
    const LinkNotes notes = DescribeLink(test.found, test.facts);
    EXPECT_EQ(notes.lines, test.lines);
    EXPECT_EQ(notes.redFlag, test.redFlag) << (test.lines.empty() ? "" : test.lines.front());
  }
}

}  // namespace
}  // namespace vantisk
