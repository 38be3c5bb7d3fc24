// The web-platform-tests URL data, against which browsers test their URL
// parsers: every case whose input is an absolute http or https address.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "links/ascii.h"
#include "links/url.h"
#include "links/utf8.h"

namespace vantisk {
namespace {

// The data's cases: objects of strings, null and true/false. Strings at the
// top level are comments.
struct TestCase {
  std::map<std::string, std::string> strings;
  bool failure = false;
};

// A reader for just the JSON the data file holds.
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
  void SkipSpace() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
      ++at_;
    }
  }
  char Peek() {
    SkipSpace();
    if (at_ >= text_.size()) throw std::runtime_error("JSON ends early");
    return text_[at_];
  }
  bool Consume(char c) {
    if (Peek() != c) return false;
    ++at_;
    return true;
  }
  void Expect(char c) {
    if (!Consume(c)) throw std::runtime_error(std::string("JSON: expected ") + c + " at " + std::to_string(at_));
  }
  bool ConsumeWord(std::string_view word) {
    SkipSpace();
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
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) value = value * 16 + static_cast<unsigned>(HexDigitValue(text_.at(at_++)));
    return value;
  }

  // A "\uXXXX" escape, joining a surrogate pair; a lone surrogate is U+FFFD,
  // as it is when a browser encodes the string as UTF-8.
  char32_t ReadUnicodeEscape() {
    const unsigned unit = ReadHex4();
    if (unit >= 0xD800 && unit <= 0xDBFF && text_.compare(at_, 2, "\\u") == 0) {
      const std::size_t saved = at_;
      at_ += 2;
      const unsigned low = ReadHex4();
      if (low >= 0xDC00 && low <= 0xDFFF) return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      at_ = saved;
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacementCharacter;
    return unit;
  }

  std::string ReadString() {
    Expect('"');
    std::string value;
    for (char c = text_.at(at_++); c != '"'; c = text_.at(at_++)) {
      if (c != '\\') {
        value += c;
        continue;
      }
      const char escaped = text_.at(at_++);
      switch (escaped) {
        case 'u': AppendUtf8(value, ReadUnicodeEscape()); break;
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        case 'b': value += '\b'; break;
        case 'f': value += '\f'; break;
        default: value += escaped; break;  // '"', '\\', '/'
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

TEST(UrlTestData, ParsesAsBrowsersDo) {
  std::ifstream file(VANTISK_URL_TEST_DATA, std::ios::binary);
  if (!file) GTEST_SKIP() << "no URL test data at " << VANTISK_URL_TEST_DATA;
  std::stringstream text;
  text << file.rdbuf();
  const std::vector<TestCase> cases = JsonReader(text.str()).ReadCases();

  int count = 0, hostAgreements = 0, hrefAgreements = 0;
  std::string disagreements;
  for (const TestCase& testCase : cases) {
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

}  // namespace
}  // namespace vantisk
