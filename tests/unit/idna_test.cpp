#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "links/ascii.h"
#include "links/canonical.h"
#include "links/finder.h"
#include "links/idna.h"
#include "links/nfc.h"
#include "links/notes.h"
#include "links/percent.h"
#include "links/punycode.h"
#include "links/url.h"
#include "links/utf8.h"

namespace vantisk {
namespace {

struct PunycodeCase {
  std::u32string label;
  std::string encoded;  // as the encoder writes it: lower-case digits
};

// RFC 3492 section 7.1, samples (A), (B), (D), (G), (I), (L), (M) and (S).
const PunycodeCase kRfcSamples[] = {
    {U"\u0644\u064A\u0647\u0645\u0627\u0628\u062A\u0643\u0644\u0645\u0648\u0634\u0639\u0631\u0628\u064A\u061F",
     "egbpdaj6bu4bxfgehfvwxn"},
    {U"\u4ED6\u4EEC\u4E3A\u4EC0\u4E48\u4E0D\u8BF4\u4E2D\u6587", "ihqwcrb4cv8a8dqg056pqjye"},
    {U"\u4ED6\u5011\u7232\u4EC0\u9EBD\u4E0D\u8AAA\u4E2D\u6587", "ihqwctvzc91f659drss3x8bo0yb"},
    {U"\u306A\u305C\u307F\u3093\u306A\u65E5\u672C\u8A9E\u3092\u8A71\u3057\u3066\u304F\u308C\u306A\u3044\u306E\u304B",
     "n8jok5ay5dzabd5bym9f0cm5685rrjetr6pdxa"},
    {U"\u043F\u043E\u0447\u0435\u043C\u0443\u0436\u0435\u043E\u043D\u0438\u043D\u0435\u0433\u043E\u0432\u043E"
     U"\u0440\u044F\u0442\u043F\u043E\u0440\u0443\u0441\u0441\u043A\u0438",
     "b1abfaaepdrnnbgefbadotcwatmq2g4l"},
    {U"3\u5E74B\u7D44\u91D1\u516B\u5148\u751F", "3B-ww4c5e180e575a65lsy2b"},
    {U"\u5B89\u5BA4\u5948\u7F8E\u6075-with-SUPER-MONKEYS", "-with-SUPER-MONKEYS-pc58ag80a8qai00g7n9n"},
    {U"-> $1.00 <-", "-> $1.00 <--"},
};

TEST(Punycode, EncodesAndDecodesTheRfcSamples) {
  for (const PunycodeCase& sample : kRfcSamples) {
    EXPECT_EQ(PunycodeEncode(sample.label), sample.encoded) << sample.encoded;
    EXPECT_EQ(PunycodeDecode(sample.encoded), sample.label) << sample.encoded;
  }
  // Digits in either case, as the RFC's mixed-case annotation writes them.
  EXPECT_EQ(PunycodeDecode("b1abfaaepdrnnbgefbaDotcwatmq2g4l"), kRfcSamples[4].label);
  EXPECT_EQ(PunycodeDecode("EGBPDAJ6BU4BXFGEHFVWXN"), kRfcSamples[0].label);
}

// Every third code point basic, the others from 2,000 ideographs: a label
// with many distinct code points, longer than any DNS label.
std::u32string ManyCodePointLabel(std::size_t length) {
  std::u32string label;
  for (std::size_t i = 0; i < length; ++i) {
    label += i % 3 == 0 ? static_cast<char32_t>(U'a' + i % 26) : static_cast<char32_t>(0x4E00 + (i * 7919) % 2000);
  }
  return label;
}

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3;
  return hash;
}

// Python's own punycode codec gives the 8,000-code-point label 18,214 bytes
// with this FNV-1a hash. The 60,000-code-point one has 20,000 basic code
// points and at most 2,000 more distinct ones: a pass over the label per
// distinct code point would make it slow, not wrong, so it checks the round
// trip only.
TEST(Punycode, EncodesLongLabelsWithManyCodePoints) {
  const std::optional<std::string> encoded = PunycodeEncode(ManyCodePointLabel(8000));
  ASSERT_TRUE(encoded.has_value());
  EXPECT_EQ(encoded->size(), 18214u);
  EXPECT_EQ(Fnv1a(*encoded), 0x92648dd0407f952u);
  EXPECT_EQ(PunycodeDecode(*encoded), ManyCodePointLabel(8000));
  const std::u32string longest = ManyCodePointLabel(60000);
  const std::optional<std::string> longEncoded = PunycodeEncode(longest);
  ASSERT_TRUE(longEncoded.has_value());
  EXPECT_TRUE(longEncoded->starts_with("adgjmpsvybehknqtwzcfilorux"));
  EXPECT_EQ(PunycodeDecode(*longEncoded), longest);
}

TEST(Punycode, RefusesMalformedInput) {
  for (const std::string_view bad : {
           "-",                     // a digit expected where the delimiter stands
           "b",                     // the number is cut off
           "ab-c\xC3\xA4",          // a non-ASCII byte
           "\xC3\xA4-4ca",          // a non-ASCII byte among the basic ones
           "a_b",                   // no digit
           "99999999999999999",     // overflows
           "zzzzzzzzzzzzzzzzzzzzz", // overflows
       }) {
    EXPECT_EQ(PunycodeDecode(bad), std::nullopt) << bad;
  }
  const std::optional<std::string> beyondUnicode = PunycodeEncode(std::u32string(1, char32_t{0x110000}));
  ASSERT_TRUE(beyondUnicode.has_value());
  EXPECT_EQ(PunycodeDecode(*beyondUnicode), std::nullopt);
  const std::optional<std::string> surrogate = PunycodeEncode(std::u32string(1, char32_t{0xD800}));
  ASSERT_TRUE(surrogate.has_value());
  EXPECT_EQ(PunycodeDecode(*surrogate), std::nullopt);
  EXPECT_EQ(PunycodeDecode(""), U"");
  EXPECT_EQ(PunycodeDecode("abc-"), U"abc");
}

TEST(Nfc, ComposesDecomposesAndReorders) {
  struct Case {
    std::u32string input, nfc;
  };
  const Case cases[] = {
      {U"e\u0301", U"\u00E9"},
      {U"\u212B", U"\u00C5"},                           // singleton: ANGSTROM SIGN
      {U"a\u0323\u0302", U"\u1EAD"},                   // dot below, then circumflex
      {U"a\u0302\u0323", U"\u1EAD"},                   // reordered before composing
      {U"\u1100\u1161\u11A8", U"\uAC01"},               // Hangul L V T
      {U"\uAC00\u11A8", U"\uAC01"},                     // Hangul LV + T
      {U"\u0958", U"\u0915\u093C"},                     // composition exclusion
      {U"\u0301e", U"\u0301e"},                         // a leading mark stays alone
      {U"e\u0327\u0301", U"\u0229\u0301"},              // no precomposed form takes the acute too
      {U"\u0F73", U"\u0F71\u0F72"},                     // non-starter decomposition
  };
  for (const Case& c : cases) EXPECT_EQ(ToNfc(c.input), c.nfc) << ToUtf8(c.input);
}

// NFC as ICU4X gives it for the tables' own Unicode version, written at build
// time by icu_nfc.mjs: every code point whose NFC is not itself, and
// generated sequences of marks, decomposable letters and jamo. A code point
// the file does not list alone is its own NFC.
struct NfcCase {
  std::u32string source, nfc;
};

std::u32string CodePointsFromHex(std::string_view text) {
  std::u32string codePoints;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    codePoints += static_cast<char32_t>(std::stoul(std::string(text.substr(at, end - at)), nullptr, 16));
    at = end + 1;
  }
  return codePoints;
}

std::vector<NfcCase> ReadNfcCases() {
  std::ifstream file(VANTISK_NFC_CASES);
  std::vector<NfcCase> cases;
  for (std::string line; std::getline(file, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    cases.push_back({CodePointsFromHex(std::string_view(line).substr(0, tab)),
                     CodePointsFromHex(std::string_view(line).substr(tab + 1))});
  }
  return cases;
}

TEST(Nfc, AgreesWithIcuOnEveryCodePointAndOnGeneratedSequences) {
  const std::vector<NfcCase> cases = ReadNfcCases();
  ASSERT_GT(cases.size(), 20000u) << "no cases in " << VANTISK_NFC_CASES;
  std::set<char32_t> listedAlone;
  int wrong = 0;
  for (const NfcCase& c : cases) {
    if (ToNfc(c.source) != c.nfc && ++wrong <= 20) ADD_FAILURE() << ToUtf8(c.source) << " gives " << ToUtf8(ToNfc(c.source));
    if (c.source.size() == 1) listedAlone.insert(c.source[0]);
  }
  EXPECT_EQ(wrong, 0);
  ASSERT_GT(listedAlone.size(), 1000u);
  int changed = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || listedAlone.contains(c)) continue;
    changed += ToNfc(std::u32string(1, c)) != std::u32string(1, c);
  }
  EXPECT_EQ(changed, 0);
}

struct DomainCase {
  std::string input;
  std::optional<std::string> ascii;  // nothing: refused
};

const DomainCase kDomainCases[] = {
    {"example.com", "example.com"},
    {"ExAmple.COM", "example.com"},
    {"fa\u00DF.de", "xn--fa-hia.de"},                 // deviation kept, not "fass.de"
    {"\u03A3.com", "xn--4xa.com"},                     // capital sigma maps to sigma
    {"\u03C2.com", "xn--3xa.com"},                     // final sigma is kept
    {"b\u00FCcher.example", "xn--bcher-kva.example"},
    {"bu\u0308cher.example", "xn--bcher-kva.example"}, // NFC joins u and the diaeresis
    {"e\u0301.com", "xn--9ca.com"},
    {"\uFF25\uFF38\uFF21\uFF2D\uFF30\uFF2C\uFF25\uFF0Ecom", "example.com"},  // fullwidth, fullwidth stop
    {"a\u3002b", "a.b"},                              // ideographic full stop
    {"ex\u00ADample.com", "example.com"},             // soft hyphen ignored
    {"XN--BCHER-KVA.example", "xn--bcher-kva.example"},
    {"xn--bcher-kva.example", "xn--bcher-kva.example"},
    {"a.b.", "a.b."},
    {"a..b", "a..b"},
    {".", "."},
    {"", std::nullopt},
    {"\u00AD", std::nullopt},                         // nothing left
    {"xn--a", std::nullopt},                          // decodes to U+0080, disallowed
    {"xn--", std::nullopt},
    {"xn--.com", std::nullopt},
    {"xn--abc-.com", std::nullopt},                   // decodes to ASCII alone
    {"xn--bcher-kva\u00FC.example", std::nullopt},    // non-ASCII in an xn-- label
    {"xn--xn--bcher-kva-.com", std::nullopt},         // decodes to a label that starts "xn--"
    {"a\uFFFDb.com", std::nullopt},
    {"\xFF.com", std::nullopt},                       // malformed UTF-8
    {"a\u2028b.com", std::nullopt},                   // disallowed line separator
    {"\u0301a.com", std::nullopt},                    // starts with a combining mark
    {"a\u200Db.com", std::nullopt},                   // ZWJ without a virama
    {"a\u200Cb.com", std::nullopt},                   // ZWNJ between letters that do not join
    {"1.\u05D0", std::nullopt},                       // bidi domain: a label starts with a digit
    {"\u05D0a.com", std::nullopt},                    // left-to-right letter in a right-to-left label
    {"\u0627\u0661\u0031.com", std::nullopt},         // Arabic-Indic and European digits together
    {"\u05D0\u05B0-.com", std::nullopt},              // right-to-left label ends with a hyphen
    {"a-.b--c.-d", "a-.b--c.-d"},                     // hyphens are not checked
    {"a b.com", "a b.com"},                           // STD3 rules off: the URL parser refuses it
};

TEST(DomainToAscii, ProcessesLikeTheUrlStandard) {
  for (const DomainCase& c : kDomainCases) EXPECT_EQ(DomainToAscii(c.input), c.ascii) << c.input;
}

TEST(DomainToAscii, CaseMappedAndFoldedFormsAgree) {
  EXPECT_EQ(DomainToAscii("\u03A3\u0391\u03A3.com"), DomainToAscii("\u03C3\u03B1\u03C3.com"));
  EXPECT_NE(DomainToAscii("\u03C3\u03B1\u03C2.com"), DomainToAscii("\u03C3\u03B1\u03C3.com"));
  EXPECT_EQ(DomainToAscii("\u212Bngstr\u00F6m.se"), DomainToAscii("\u00E5ngstr\u00F6m.se"));
}

// Names that pass every check come back from DomainToUnicode as they went in.
TEST(DomainToAscii, KeepsWhatTheRulesAllow) {
  for (const std::string_view domain : {
           "\u0915\u094D\u200C\u0937.in",          // ZWNJ after a virama
           "\u0915\u094D\u200D\u0937.in",          // ZWJ after a virama
           "\u0628\u200C\u062A.com",               // ZWNJ between joining Arabic letters
           "\u0628\u064E\u200C\u064E\u062A.com",   // ... with transparent marks around it
           "\u05D0\u05D1.com",                     // a right-to-left label beside a Latin one
           "\u05D01.\u05D1",                       // right-to-left label ending in a digit
           "\u03C3\u03B1\u03C2.gr",
           "\uB300\uD55C\uBBFC\uAD6D.kr",
       }) {
    const std::optional<std::string> ascii = DomainToAscii(domain);
    ASSERT_TRUE(ascii.has_value()) << domain;
    EXPECT_TRUE(ascii->starts_with("xn--")) << *ascii;
    EXPECT_EQ(DomainToUnicode(*ascii), domain) << *ascii;
  }
}

TEST(DomainToAscii, RefusesAnXnLabelThatIsNotInNfc) {
  const std::optional<std::string> encoded = PunycodeEncode(U"e\u0301");
  ASSERT_TRUE(encoded.has_value());
  EXPECT_EQ(DomainToAscii("xn--" + *encoded + ".com"), std::nullopt);
  EXPECT_EQ(DomainToUnicode("xn--" + *encoded + ".com"), "xn--" + *encoded + ".com");
}

TEST(DomainToUnicode, DecodesValidLabelsAndKeepsTheRest) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"xn--bcher-kva.example", "b\u00FCcher.example"},
      {"XN--BCHER-KVA.Example", "b\u00FCcher.Example"},
      {"xn--fa-hia.de", "fa\u00DF.de"},
      {"xn--4xa.xn--3xa", "\u03C3.\u03C2"},
      {"xn--a.com", "xn--a.com"},          // U+0080 is not shown
      {"xn--.xn--abc-", "xn--.xn--abc-"},  // empty, ASCII alone
      {"xn--zz.a.b.", "xn--zz.a.b."},      // does not decode
      {"plain.example.", "plain.example."},
  };
  for (const auto& [ascii, unicode] : cases) EXPECT_EQ(DomainToUnicode(ascii), unicode) << ascii;
}

TEST(DomainMixesScripts, FindsLabelsThatMixScripts) {
  const std::pair<std::string_view, bool> cases[] = {
      {"\u0430pple.com", true},                        // Cyrillic a
      {"\u03B1lpha.com", true},                        // Greek alpha
      {"www.p\u0430ypal.com", true},
      {"b\u00FCcher.example", false},
      {"\u65E5\u672C\u8A9E\u30C6\u30B9\u30C8.jp", false},  // Han and Katakana
      {"\u3072\u3089\u304C\u306A\u6F22\u5B57", false},     // Hiragana and Han
      {"\uD55C\uAD6D\uC5B4", false},
      {"m\u00FCnchen-2.de", false},
      {"\u043F\u0440\u0438\u043C\u0435\u0440.com", false}, // one script per label
      {"e\u0301x.com", false},                           // the mark is Inherited
      {"\u0627\u0644\u0639\u0631\u0628\u064A\u0629", false},
      {"\u0627a", true},
      {"", false},
  };
  for (const auto& [domain, mixes] : cases) EXPECT_EQ(DomainMixesScripts(domain), mixes) << domain;
}

TEST(TransitionalReading, NamesTheOtherSiteOfADeviation) {
  const std::pair<std::string_view, std::optional<std::string>> cases[] = {
      {"fa\u00DF.de", "fass.de"},
      {"FA\u1E9E.de", "fass.de"},                                  // the capital, by way of "\u00DF"
      {"\u03B5\u03BB\u03BB\u03AC\u03C2.gr", "xn--hxarsa5b.gr"},        // final sigma read as sigma
      {"\u0628\u200C\u062A.com", "xn--ngbe.com"},                  // the non-joiner dropped
      {"\u0915\u094D\u200D\u0937.in", "xn--11b2ezc.in"},           // the joiner dropped
      {"xn--fa-hia.de", std::nullopt},                              // written "xn--": one name for all
      {"b\u00FCcher.example", std::nullopt},
      {"a\u200Cb.com", std::nullopt},                               // refused by current processing
  };
  for (const auto& [domain, other] : cases) EXPECT_EQ(TransitionalReading(domain), other) << domain;
}

// From the copied text to the notes: a name with a deviation says which
// other site some programs open, as a red flag like any international name.
TEST(DescribeLink, NamesTheSiteOlderProgramsReadTheNameAs) {
  struct Case {
    std::string text, host, otherLine;
  };
  const Case cases[] = {
      {"https://STRA\u1E9EE.de/", "xn--strae-oqa.de", "Some programs read this name as strasse.de, another site."},
      {"see https://stra%C3%9Fe.de/x.", "xn--strae-oqa.de",
       "Some programs read this name as strasse.de, another site."},
      {"https://\u0628\u200C\u062A.com/", "xn--ngbe199q.com",
       "Some programs read this name as \u0628\u062A.com (xn--ngbe.com), another site."},
      {"https://xn--strae-oqa.de/", "xn--strae-oqa.de", ""},
      {"https://b\u00FCcher.example/", "xn--bcher-kva.example", ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.text);
    const std::vector<FoundLink> links = FindLinks(test.text, 1);
    ASSERT_EQ(links.size(), 1u);
    const FoundLink* found = &links.front();
    const std::optional<LinkFacts> facts = CanonicaliseLink(found->address);
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->host, test.host);
    const LinkNotes notes = DescribeLink(*found, *facts);
    const auto other = std::find_if(notes.lines.begin(), notes.lines.end(),
                                    [](const std::string& line) { return line.starts_with("Some programs"); });
    EXPECT_EQ(other == notes.lines.end() ? "" : *other, test.otherLine);
    EXPECT_TRUE(notes.redFlag);
  }
}

// Hosts from a seeded generator (whatwg_hosts.js) as the URL Standard's
// reference parser reads them in "https://HOST/": the same ASCII host, or
// both refuse; and the same other name by transitional processing, or none.
// Unicode ships its IDNA conformance cases in no package, so this is the
// conformance check of the tables and of the processing.
struct ReferenceHost {
  std::string input;
  std::optional<std::string> host;          // nothing: the reference parser refuses it
  std::optional<std::string> otherReading;  // by transitional processing
};

std::vector<ReferenceHost> ReadReferenceHosts() {
  std::ifstream file(VANTISK_WHATWG_HOSTS);
  std::vector<ReferenceHost> hosts;
  for (std::string line; std::getline(file, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos || tab % 2 != 0) continue;
    ReferenceHost host;
    for (std::size_t i = 0; i < tab; i += 2) host.input += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
    const std::size_t secondTab = line.find('\t', tab + 1);
    const std::string result = line.substr(tab + 1, secondTab - tab - 1);
    if (result != "!") host.host = result;
    const std::string other = secondTab == std::string::npos ? "-" : line.substr(secondTab + 1);
    if (other != "-") host.otherReading = other;
    hosts.push_back(std::move(host));
  }
  return hosts;
}

std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char32_t c : ToCodePoints(text)) {
    if (c >= 0x20 && c < 0x7F) {
      escaped += static_cast<char>(c);
    } else {
      char code[16];
      std::snprintf(code, sizeof code, "\\u{%X}", static_cast<unsigned>(c));
      escaped += code;
    }
  }
  return escaped;
}

TEST(ParseWebUrl, ReadsHostsAsTheReferenceParserDoes) {
  const std::vector<ReferenceHost> hosts = ReadReferenceHosts();
  ASSERT_GE(hosts.size(), 5000u) << "no hosts in " << VANTISK_WHATWG_HOSTS;
  int international = 0;
  int refused = 0;
  int readOtherwise = 0;
  for (const ReferenceHost& reference : hosts) {
    const std::optional<WebUrl> url = ParseWebUrl("https://" + reference.input + "/");
    const std::optional<std::string> ours = url ? std::optional(url->host) : std::nullopt;
    EXPECT_EQ(ours, reference.host) << Escaped(reference.input);
    const std::string decoded = ToUtf8(ToCodePoints(PercentDecode(reference.input)));
    EXPECT_EQ(TransitionalReading(decoded), reference.otherReading) << Escaped(reference.input);
    international += reference.host && reference.host->find("xn--") != std::string::npos;
    refused += !reference.host;
    readOtherwise += reference.otherReading.has_value();
  }
  // The generator mixes enough valid international names in with the refused ones.
  EXPECT_GT(international, 1000);
  EXPECT_GT(refused, 1000);
  EXPECT_LT(refused, static_cast<int>(hosts.size()) - 2000);
  EXPECT_GT(readOtherwise, 200);
}

}  // namespace
}  // namespace vantisk
