#include "checkers/check_target.h"

#include "links/percent.h"
#include "links/web_address.h"

#include <gtest/gtest.h>

#include <string>

namespace vantisk {
namespace {

// Addresses that must never reach the shell as they stand.
const char* const kHostileAddresses[] = {
    "calc.exe http",
    "\\\\host\\share\\tool.exe http",
    "file:///C:/Windows/ http",
    "javascript:alert(1)//http",
    "https://x/\" --flag",
    "http://a.example/\r\nhttp",
    "http://a.example/\thttp",
    "http:///path",
    "http://bad host/",
    "ftp://http.example/",
};

TEST(IsShellSafeWebAddress, AcceptsPlainWebAddresses) {
  for (const char* text : {"http://example.com", "HTTPS://Example.COM/a b?q=1#x", "http://user:pw@[::1]:80/",
                           "http://ex%C3%A4mple.com", "http://exämple.com", "https://x?y", "https://x#y"}) {
    EXPECT_TRUE(IsShellSafeWebAddress(text)) << text;
  }
}

TEST(IsShellSafeWebAddress, RefusesAnythingElse) {
  for (const char* text : kHostileAddresses) EXPECT_FALSE(IsShellSafeWebAddress(text)) << text;
  for (const char* text : {"", "http://", "https://?q", "HTTP:\\\\example.com", "http://x/\x7F", "http://x\\y"}) {
    EXPECT_FALSE(IsShellSafeWebAddress(text)) << text;
  }
}

TEST(PercentEncode, CheckerValueKeepsOnlyUnreservedBytes) {
  EXPECT_EQ(PercentEncode("http://bad.example/?&site=http://good.example", kCheckerValueSet),
            "http://bad.example/%3F%26site%3Dhttp://good.example");
  EXPECT_EQ(PercentEncode("#%\" \r\n\t\\+", kCheckerValueSet), "%23%25%22%20%0D%0A%09%5C%2B");
  EXPECT_EQ(PercentEncode("http://exämple.com", kCheckerValueSet), "http://ex%C3%A4mple.com");
  EXPECT_EQ(PercentEncode("Az09-._~:/", kCheckerValueSet), "Az09-._~:/");
  EXPECT_EQ(PercentEncode(std::string("a\0b", 3), kCheckerValueSet), "a%00b");
}

TEST(BuildCheckTarget, CheckerGetsTheAddressEncodedOrInItsPlaceholders) {
  const CheckResult result =
      BuildCheckTarget(kDefaultCheckerUrl, "http://bad.example/?&site=http://good.example", "bad.example");
  EXPECT_EQ(result.outcome, CheckOutcome::Launch);
  EXPECT_EQ(result.target, std::string(kDefaultCheckerUrl) + "http://bad.example/%3F%26site%3Dhttp://good.example");
  EXPECT_EQ(BuildCheckTarget("https://a.example/scan/{host}", "https://sub.example.com/p?q=1", "sub.example.com").target,
            "https://a.example/scan/sub.example.com");

  const CheckResult unknown = BuildCheckTarget("https://a.example/?q={URL}", "https://x.example/", "x.example");
  EXPECT_EQ(unknown.outcome, CheckOutcome::CheckerPlaceholder);
  EXPECT_NE(unknown.problem.find("{URL}"), std::string::npos) << unknown.problem;
  EXPECT_TRUE(unknown.target.empty());
}

TEST(BuildCheckTarget, RefusesBadChecker) {
  EXPECT_EQ(BuildCheckTarget("", "https://example.com/%20a", "example.com").target, "https://example.com/%20a");
  for (const char* checker : {"file:///C:/", "\\\\host\\share\\check.exe ", "calc.exe", "https://x/\" --flag ",
                              "{url}"}) {
    EXPECT_EQ(BuildCheckTarget(checker, "http://example.com", "example.com").outcome, CheckOutcome::CheckerNotWeb)
        << checker;
  }
}

// Without a checker the link itself opens. A "\\" its query or fragment keeps
// could escape the quote that ends it on a command line: it goes encoded, and
// what cannot go at all is refused as such, never as a browser that failed.
TEST(BuildCheckTarget, WithoutACheckerTheLinkGoesSafeForTheShell) {
  const CheckResult opened = BuildCheckTarget("", "https://a.example/p?q=a\\b\\#x\\", "a.example");
  EXPECT_EQ(opened.outcome, CheckOutcome::Launch);
  EXPECT_EQ(opened.target, "https://a.example/p?q=a%5Cb%5C#x%5C");
  EXPECT_EQ(BuildCheckTarget("", "https://a.example/?q=\"", "a.example").target, "https://a.example/?q=%22");
  for (const char* address : kHostileAddresses) {
    const CheckResult result = BuildCheckTarget("", address, "a.example");
    EXPECT_NE(result.target, address);
    EXPECT_TRUE(result.outcome != CheckOutcome::Launch || IsShellSafeWebAddress(result.target)) << result.target;
  }
  EXPECT_EQ(BuildCheckTarget("", "file:///C:/", "").outcome, CheckOutcome::NotOpenable);
}

TEST(BuildCheckTarget, LongestTargetIsAllowedOneMoreIsNot) {
  const std::string prefix = "http://example.com/";
  const std::string longest = prefix + std::string(kMaxTargetLength - prefix.size(), 'a');
  EXPECT_EQ(BuildCheckTarget("", longest, "example.com").outcome, CheckOutcome::Launch);
  const CheckResult tooLong = BuildCheckTarget("", longest + "a", "example.com");
  EXPECT_EQ(tooLong.outcome, CheckOutcome::TooLong);
  EXPECT_TRUE(tooLong.target.empty());

  // Encoding grows the address; the limit applies to the grown text.
  const std::string checker = "https://c/?u=";
  const std::string address = "http://" + std::string(kMaxTargetLength - checker.size() - 7 - 3, 'b');
  EXPECT_EQ(BuildCheckTarget(checker, address + "?", "b").target.size(), kMaxTargetLength);
  EXPECT_EQ(BuildCheckTarget(checker, address + "b?", "b").outcome, CheckOutcome::TooLong);
}

}  // namespace
}  // namespace vantisk
