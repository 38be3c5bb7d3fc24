// The web-platform-tests URL data, against which browsers test their URL
// parsers: every case whose input is an absolute http or https address.
#include <gtest/gtest.h>

#include "links/canonical.h"
#include "links/finder.h"

#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "links/ascii.h"
#include "links/url.h"
#include "links/utf8.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

// The data's cases: objects of strings, null and true/false. Strings at the
// top level are comments.
struct TestCase {
  std::map<std::string, std::string> strings;
  bool failure = false;
};

// A reader for just the JSON the data file holds; it throws on anything else.
class JsonReader {
 public:
  explicit JsonReader(std::string text) : text_(std::move(text)) {}

  std::vector<TestCase> ReadCases() {
    std::vector<TestCase> cases;
    Expect('[');
    while (!Consume(']')) {
      Consume(',');
      if (Peek() == '"') {
        ReadString();
      } else {
        cases.push_back(ReadCase());
      }
    }
    return cases;
  }

 private:
  char Peek() {
    at_ = text_.find_first_not_of(" \t\r\n", at_);
    if (at_ == std::string::npos) throw std::runtime_error("JSON ends early");
    return text_[at_];
  }
  bool Consume(char c) { return Peek() == c && ++at_; }
  void Expect(char c) {
    if (!Consume(c)) throw std::runtime_error("JSON: expected " + std::string(1, c) + " at " + std::to_string(at_));
  }
  bool ConsumeWord(std::string_view word) {
    if (text_.compare(at_, word.size(), word) != 0) return false;
    at_ += word.size();
    return true;
  }

  TestCase ReadCase() {
    TestCase testCase;
    Expect('{');
    while (!Consume('}')) {
      Consume(',');
      const std::string key = ReadString();
      Expect(':');
      if (Peek() == '"') {
        testCase.strings[key] = ReadString();
      } else if (ConsumeWord("true")) {
        testCase.failure = testCase.failure || key == "failure";
      } else if (!ConsumeWord("false") && !ConsumeWord("null")) {
        throw std::runtime_error("JSON: unexpected value at " + std::to_string(at_));
      }
    }
    return testCase;
  }

  unsigned ReadHex4() {
    const unsigned value = static_cast<unsigned>(std::stoul(text_.substr(at_, 4), nullptr, 16));
    at_ += 4;
    return value;
  }

  // A "\uXXXX" escape, joining a surrogate pair; a lone surrogate is U+FFFD,
  // as it is when a browser encodes the string as UTF-8.
  char32_t ReadUnicodeEscape() {
    const unsigned unit = ReadHex4();
    if (unit >= 0xD800 && unit <= 0xDBFF && text_.compare(at_, 2, "\\u") == 0) {
      const unsigned low = std::stoul(text_.substr(at_ + 2, 4), nullptr, 16);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        at_ += 6;
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      }
    }
    return unit >= 0xD800 && unit <= 0xDFFF ? kReplacementCharacter : unit;
  }

  std::string ReadString() {
    static constexpr std::string_view kEscapes = "b\bf\fn\nr\rt\t";  // letter, then what it stands for
    Expect('"');
    std::string value;
    for (char c = text_.at(at_++); c != '"'; c = text_.at(at_++)) {
      if (c != '\\') {
        value += c;
      } else if ((c = text_.at(at_++)) == 'u') {
        AppendUtf8(value, ReadUnicodeEscape());
      } else {
        const std::size_t escape = kEscapes.find(c);
        value += escape == std::string_view::npos ? c : kEscapes[escape + 1];  // '"', '\\' and '/' stand for themselves
      }
    }
    return value;
  }

  std::string text_;
  std::size_t at_ = 0;
};

bool IsAbsoluteWebAddress(std::string_view input) {
  const auto isC0ControlOrSpace = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!input.empty() && isC0ControlOrSpace(input.front())) input.remove_prefix(1);
  return StartsWithIgnoringCase(input, "http://") || StartsWithIgnoringCase(input, "https://");
}

std::string Shown(const std::optional<std::string>& text) {
  if (!text) return "failure";
  std::string shown(1, '"');
  shown.append(*text).append(1, '"');
  return shown;
}

// The cases of the data file; nothing when it is not there.
std::optional<std::vector<TestCase>> LoadCases() {
  std::ifstream file(VANTISK_URL_TEST_DATA, std::ios::binary);
  if (!file) return std::nullopt;
  std::stringstream text;
  text << file.rdbuf();
  return JsonReader(text.str()).ReadCases();
}

TEST(UrlTestData, ParsesAsBrowsersDo) {
  const auto cases = LoadCases();
  if (!cases) GTEST_SKIP() << "no URL test data at " << VANTISK_URL_TEST_DATA;

  int count = 0, hostAgreements = 0, hrefAgreements = 0;
  std::string disagreements;
  for (const TestCase& testCase : *cases) {
    const std::string& input = testCase.strings.at("input");
    if (!IsAbsoluteWebAddress(input)) continue;
    ++count;
    const std::optional<WebUrl> url = ParseWebUrl(input);
    std::optional<std::string> expectedHost, host, expectedHref, href;
    if (!testCase.failure) expectedHost = testCase.strings.at("host"), expectedHref = testCase.strings.at("href");
    if (url) {
      host = url->host;
      if (url->port) host->append(":").append(std::to_string(*url->port));
      href = url->Href();
    }
    hostAgreements += host == expectedHost;
    hrefAgreements += href == expectedHref;
    EXPECT_EQ(host, expectedHost) << "input " << Shown(input);
    if (href != expectedHref) {
      disagreements.append("  ").append(Shown(input)).append(": ").append(Shown(href));
      disagreements.append(", browsers ").append(Shown(expectedHref)).append("\n");
    }
  }
  const double hostShare = 100.0 * hostAgreements / count, hrefShare = 100.0 * hrefAgreements / count;
  std::cout << count << " http(s) cases; host agrees in " << hostAgreements << " (" << hostShare << "%), href in "
            << hrefAgreements << " (" << hrefShare << "%)\n"
            << disagreements;
  RecordProperty("cases", count);
  RecordProperty("hostAgreements", hostAgreements);
  RecordProperty("hrefAgreements", hrefAgreements);
  EXPECT_GT(count, 0);
  EXPECT_GE(hrefShare, 99.0) << disagreements;
}

// What is deliberately ours (README, "What is checked"): in running text an
// address ends at a blank, a quotation mark, "<", ">", "`" or a control
// character, sentence punctuation at its end is not part of it, and a host
// needs a letter or a digit. Inputs where one of these applies are counted
// apart.
bool HasDeliberateDifference(std::string_view input) {
  while (!input.empty() && static_cast<unsigned char>(input.front()) <= 0x20) input.remove_prefix(1);
  while (!input.empty() && static_cast<unsigned char>(input.back()) <= 0x20) input.remove_suffix(1);
  for (std::size_t at = 0; at < input.size();) {
    const DecodedCharacter character = DecodeUtf8At(input, at);
    const char32_t c = character.codePoint;
    at += character.length;
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (c <= 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '`') return true;
    if (c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200A) || (c >= 0x2018 && c <= 0x201F)) return true;
  }
  if (!input.empty() && std::string_view(".,;:!?')]}").find(input.back()) != std::string_view::npos) return true;
  const auto parts = SplitWebAddress(input);
  return parts && !HasHost(*parts);
}

// The whole check: the address found in the input alone (finding, refanging,
// unwrapping, then the parser) against what a browser opens from it. The host
// must agree in every case (or both refuse); the address may differ only by
// what is deliberately ours: no user information, no sentence punctuation at
// the end, the address ending at a blank.
TEST(UrlTestData, TheAddressFoundInTheTextIsTheOneABrowserOpens) {
  const auto cases = LoadCases();
  if (!cases) GTEST_SKIP() << "no URL test data at " << VANTISK_URL_TEST_DATA;
  int count = 0, hostAgreements = 0, hrefAgreements = 0, deliberateHosts = 0, deliberateHrefs = 0;
  std::string differences;
  for (const TestCase& testCase : *cases) {
    const std::string& input = testCase.strings.at("input");
    if (!IsAbsoluteWebAddress(input)) continue;
    ++count;
    const std::vector<FoundLink> found = FindLinks(input, 1);
    const std::optional<LinkFacts> facts = found.empty() ? std::nullopt : CanonicaliseLink(found.front().address);
    std::optional<std::string> expectedHost, host, expectedHref, href;
    if (!testCase.failure) {
      expectedHost = testCase.strings.at("hostname");
      const auto browser = ParseWebUrl(testCase.strings.at("href"));
      ASSERT_TRUE(browser) << testCase.strings.at("href");
      expectedHref = browser->HrefWithoutUserInfo();
    }
    if (facts) host = facts->host, href = facts->canonical;
    hostAgreements += host == expectedHost;
    hrefAgreements += href == expectedHref;
    const bool deliberate = HasDeliberateDifference(input);
    deliberateHosts += host != expectedHost && deliberate;
    deliberateHrefs += href != expectedHref && deliberate;
    if (!deliberate) {
      EXPECT_EQ(host, expectedHost) << "input " << Shown(input);
    }
    if (href != expectedHref) {
      differences.append(deliberate ? "  (deliberate) " : "  ").append(Shown(input)).append(": ").append(Shown(href));
      differences.append(", browsers ").append(Shown(expectedHref)).append("\n");
    }
  }
  const double hrefShare = 100.0 * (hrefAgreements + deliberateHrefs) / count;
  std::cout << count << " http(s) cases found in text: host agrees in " << hostAgreements << " (the other "
            << count - hostAgreements << ": " << deliberateHosts << " by a deliberate difference), address in "
            << hrefAgreements << " (" << deliberateHrefs << " more by a deliberate difference: " << hrefShare
            << "%)\n"
            << differences;
  RecordProperty("foundHostAgreements", hostAgreements);
  RecordProperty("foundHrefAgreements", hrefAgreements);
  EXPECT_EQ(hostAgreements + deliberateHosts, count) << differences;
  EXPECT_GE(hrefShare, 95.0) << differences;
}

}  // namespace
}  // namespace vantisk
