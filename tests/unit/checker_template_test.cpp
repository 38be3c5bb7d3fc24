#include "checkers/checker_template.h"
#include "links/percent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checkers/check_all.h"
#include "checkers/starter_checkers.h"
#include "checkers/check_target.h"
#include "links/url.h"

namespace vantisk {
namespace {

constexpr char kAddress[] = "https://sub.example.com/p?q=1";
constexpr char kHost[] = "sub.example.com";

std::string Repeated(std::string_view text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

TEST(ExpandCheckerUrl, WithoutPlaceholdersAppendsTheEncodedAddressAfterTheHost) {
  for (const char* checker : {kDefaultCheckerUrl.data(), "https://one.example/?u=", "https://x/", "https://x#"}) {
    for (const char* address : {kAddress, "http://bad.example/?&site=http://good.example#top"}) {
      EXPECT_EQ(ExpandCheckerUrl(checker, address, kHost).target, checker + PercentEncode(address, kCheckerValueSet))
          << checker << " " << address;
    }
  }
  for (const char* checker : {"file:///C:/", "calc.exe", "\\\\host\\share\\x "}) {
    EXPECT_EQ(ExpandCheckerUrl(checker, kAddress, kHost).outcome, ExpandOutcome::NotWebAddress) << checker;
  }
  // The address would extend the checker's host: https://xhttps%3A... lets it choose the site.
  for (const char* checker : {"https://x", "https://user@x.example:8080", "HTTP://X.EXAMPLE"}) {
    EXPECT_EQ(ExpandCheckerUrl(checker, kAddress, kHost).outcome, ExpandOutcome::AppendedToHost) << checker;
  }
  const std::string prefix = "https://x/?u=";
  EXPECT_EQ(ExpandCheckerUrl(prefix, std::string(kMaxTargetLength - prefix.size(), 'a'), "a").outcome,
            ExpandOutcome::Expanded);
  EXPECT_EQ(ExpandCheckerUrl(prefix, std::string(kMaxTargetLength - prefix.size() + 1, 'a'), "a").outcome,
            ExpandOutcome::TooLong);
}

// Without a registrable domain (an IP address, a public suffix) {domain} is the host.
TEST(ExpandCheckerUrl, DomainFallsBackToTheHost) {
  EXPECT_EQ(ExpandCheckerUrl("https://d.example/{domain}/", "http://192.168.1.1/", "192.168.1.1").target,
            "https://d.example/192.168.1.1/");
}

// Only a checker that is given the whole address can pass a key in it on.
TEST(ReceivesAddress, IsTheUrlPlaceholderOrNone) {
  for (const char* checker : {"https://a/?q={url}", "https://a/?site=", "https://a/{host}/{url}"}) {
    EXPECT_TRUE(ReceivesAddress(checker)) << checker;
  }
  for (const char* checker : {"", "https://a/{host}", "https://a/scan/{domain}/"}) EXPECT_FALSE(ReceivesAddress(checker)) << checker;
}

TEST(ExpandCheckerUrl, FillsPlaceholdersOrNamesWhatIsWrong) {
  struct Case {
    std::string checker;
    ExpandOutcome outcome;
    std::string targetOrPiece;
    std::size_t character = 0;
  };
  const Case cases[] = {
      {"https://a.example/scan/{host}", ExpandOutcome::Expanded, "https://a.example/scan/sub.example.com"},
      {"https://d.example/scan/{domain}/", ExpandOutcome::Expanded, "https://d.example/scan/example.com/"},
      {"https://x/?q={Domain}", ExpandOutcome::UnknownPlaceholder, "{Domain}", 14},
      {"https://b.example/?q={url}&x=1", ExpandOutcome::Expanded,
       "https://b.example/?q=https://sub.example.com/p%3Fq%3D1&x=1"},
      {"HTTPS://c.example#{host}/{url}", ExpandOutcome::Expanded,
       "HTTPS://c.example#sub.example.com/https://sub.example.com/p%3Fq%3D1"},
      {"https://d.example/" + Repeated("{host}", 100), ExpandOutcome::Expanded,
       "https://d.example/" + Repeated(kHost, 100)},
      {"{", ExpandOutcome::UnbalancedBrace, "{", 1},
      {"https://x/?q={url", ExpandOutcome::UnbalancedBrace, "{", 14},
      {"https://x/?q={{url}}", ExpandOutcome::UnbalancedBrace, "{", 14},
      {"https://x/?q=}{url}", ExpandOutcome::UnbalancedBrace, "}", 14},
      {"https://x/\xC3\xBC\xC3\xBC/{", ExpandOutcome::UnbalancedBrace, "{", 14},
      {"{}", ExpandOutcome::UnknownPlaceholder, "{}", 1},
      {"https://x/?q={URL}", ExpandOutcome::UnknownPlaceholder, "{URL}", 14},
      {"https://x/?q={url_raw}", ExpandOutcome::UnknownPlaceholder, "{url_raw}", 14},
      {"https://{host}/", ExpandOutcome::PlaceholderInHost, "{host}", 9},
      {"https://a.example{url}", ExpandOutcome::PlaceholderInHost, "{url}", 18},
      {"http://user{host}@evil.example/", ExpandOutcome::PlaceholderInHost, "{host}", 12},
      {"{url}", ExpandOutcome::NotWebAddress, ""},
      {"ftp://x/{url}", ExpandOutcome::NotWebAddress, ""},
      {"https://bad host/{url}", ExpandOutcome::NotWebAddress, ""},
      {"https://x/{url}\"", ExpandOutcome::NotWebAddress, ""},
      {"https://x/" + Repeated("{url}", 100), ExpandOutcome::TooLong, ""},
      {"", ExpandOutcome::EmptyChecker, ""},
  };
  for (const Case& c : cases) {
    const Expansion expansion = ExpandCheckerUrl(c.checker, kAddress, kHost, "example.com");
    EXPECT_EQ(expansion.outcome, c.outcome) << c.checker;
    if (c.outcome == ExpandOutcome::Expanded) {
      EXPECT_EQ(expansion.target, c.targetOrPiece) << c.checker;
    } else {
      EXPECT_EQ(expansion.target, "") << c.checker;
      EXPECT_EQ(expansion.piece, c.targetOrPiece) << c.checker;
      EXPECT_EQ(expansion.character, c.character) << c.checker;
    }
  }
}

// The host goes in unencoded, so a host that is not one must not reach the
// checker's query as it stands.
TEST(ExpandCheckerUrl, AHostThatIsNoHostCannotChangeTheQuery) {
  const Expansion expansion = ExpandCheckerUrl("https://x/?h={host}&k=1", kAddress, "a.b/?c=d&e#f \"g\\");
  EXPECT_EQ(expansion.target, "https://x/?h=a.b%2F%3Fc%3Dd%26e%23f%20%22g%5C&k=1");
  EXPECT_EQ(ExpandCheckerUrl("https://x/{host}", kAddress, "[::1]:8080").target, "https://x/[::1]:8080");
}

TEST(StarterCheckers, EachOpensAWebPageWithItsPlaceholder) {
  const std::vector<std::string> starters = StarterCheckers();
  EXPECT_GE(starters.size(), 6u);
  for (const std::string& checker : starters) {
    EXPECT_NE(checker.find('{'), std::string::npos) << checker << " says where the address goes";
    const Expansion expansion = ExpandCheckerUrl(checker, kAddress, kHost);
    EXPECT_EQ(expansion.outcome, ExpandOutcome::Expanded) << checker;
    EXPECT_EQ(expansion.target.rfind("https://", 0), 0u) << checker;
  }
}

// Dots the address brings into the checker's path must not lead its page
// elsewhere: what a browser makes of every target is the target itself.
TEST(ExpandCheckerUrl, TheAddressNeverMakesADotSegmentOfTheCheckersPath) {
  std::vector<std::string> checkers = StarterCheckers();
  checkers.insert(checkers.end(), {"https://checker.example/x/{url}", "https://checker.example/x/", "https://c.example/{url}..",
                                   "https://c.example/.{host}/", "https://c.example/%2E{host}/"});
  const char* const addresses[][2] = {
      {"https://a.example/?q=/../../y", "a.example"}, {"https://a.example/p?/./.", "a.example"},
      {"http://../", ".."},  {"http://./x", "."}, {"https://a.example/", "a.example"},
  };
  for (const std::string& checker : checkers) {
    for (const auto& [address, host] : addresses) {
      SCOPED_TRACE(checker + " " + address);
      const Expansion expansion = ExpandCheckerUrl(checker, address, host);
      if (expansion.outcome == ExpandOutcome::DotSegment) {
        EXPECT_TRUE(std::string_view(host).find_first_not_of('.') == std::string_view::npos) << "only a host of dots";
        continue;
      }
      ASSERT_EQ(expansion.outcome, ExpandOutcome::Expanded);
      const auto read = ParseWebUrl(expansion.target);
      ASSERT_TRUE(read.has_value());
      EXPECT_EQ(read->Href(), expansion.target);
    }
  }
  struct Case {
    std::string checker, address, host, targetOrPiece;
  };
  const Case cases[] = {
      {"https://web.archive.org/web/*/{url}", "https://a.example/?q=/../../y", "a.example",
       "https://web.archive.org/web/*/https://a.example/%3Fq%3D%2F..%2F../y"},
      {"https://checker.example/x/{url}", "http://../", "..", "https://checker.example/x/http:/%2F../"},
      {"https://c.example/{url}..", "https://a.example/", "a.example", "https://c.example/https://a.example%2F.."},
      // Not in the path: the checker's query and fragment keep the dots as they are.
      {"https://c.example/?u={url}", "https://a.example/?q=/../", "a.example",
       "https://c.example/?u=https://a.example/%3Fq%3D/../"},
      {"https://c.example/x#{url}", "https://a.example/?q=/../", "a.example",
       "https://c.example/x#https://a.example/%3Fq%3D/../"},
      {"https://urlscan.io/domain/{host}", "http://../", "..", ".."},
      {"https://c.example/%2E{host}/", "http://./", ".", "%2E."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.checker + " " + c.address);
    const Expansion expansion = ExpandCheckerUrl(c.checker, c.address, c.host);
    EXPECT_EQ(expansion.outcome == ExpandOutcome::Expanded ? expansion.target : expansion.piece, c.targetOrPiece);
  }
  EXPECT_EQ(DescribeExpansionProblem(ExpandCheckerUrl("https://urlscan.io/domain/{host}", "http://../", "..")),
            "cannot take this address: it would put \"..\" into the checker's own path, which opens another of its "
            "pages");
}

TEST(PlanCheckAll, OpensTheUsableCheckersInOrderAndNamesTheOthersOnce) {
  const std::vector<std::string> doneWhen = {"https://a.example/scan/{host}", "https://b.example/?q={url}&x=1"};
  const CheckAllPlan plain = PlanCheckAll(doneWhen, kAddress, kHost);
  EXPECT_EQ(plain.targets, (std::vector<std::string>{"https://a.example/scan/sub.example.com",
                                                     "https://b.example/?q=https://sub.example.com/p%3Fq%3D1&x=1"}));
  EXPECT_TRUE(plain.skipped.empty());
  EXPECT_EQ(SkippedCheckersMessage(doneWhen, plain), "");
  EXPECT_FALSE(NeedsConfirmation(plain));

  const std::vector<std::string> mixed = {
      "https://a.example/?u=", "", "ftp://x/{url}", "https://a.example/?u=", "https://x/{URL}",
      "https://x/" + std::string(100, 'y') + "{", "https://b.example/{host}",
  };
  const CheckAllPlan plan = PlanCheckAll(mixed, kAddress, kHost);
  EXPECT_EQ(plan.targets.size(), 3u) << "duplicates open twice";
  EXPECT_EQ(plan.targets.back(), "https://b.example/sub.example.com");
  EXPECT_EQ(SkippedCheckersMessage(mixed, plan),
            "4 of 7 checkers were skipped:\n\n"
            "Checker 2 is empty.\n"
            "Checker 3 (ftp://x/{url}) is not a web address (http:// or https://).\n"
            "Checker 5 (https://x/{URL}) has an unknown placeholder {URL} (the placeholders are {url}, {host} and {domain}).\n"
            "Checker 6 (https://x/" + std::string(70, 'y') + "...) has a { without a closing } at character 111.");

  const std::vector<std::string> unusable(20, "nope");
  std::string expected = "None of the 20 checkers in the list could be used:\n";
  for (int n = 1; n <= 15; ++n) {
    expected += "\nChecker " + std::to_string(n) + " (nope) is not a web address (http:// or https://).";
  }
  EXPECT_EQ(SkippedCheckersMessage(unusable, PlanCheckAll(unusable, kAddress, kHost)), expected + "\n... and 5 more.");
}

TEST(PlanCheckAll, AsksBeforeOpeningMoreThanFivePages) {
  std::vector<std::string> entries(5, "https://a.example/?u=");
  entries.push_back("");
  EXPECT_FALSE(NeedsConfirmation(PlanCheckAll(entries, kAddress, kHost))) << "skipped entries open nothing";
  entries.back() = entries.front();
  EXPECT_TRUE(NeedsConfirmation(PlanCheckAll(entries, kAddress, kHost)));
  EXPECT_EQ(OpenPagesQuestion(6), "Open 6 checker pages?");
}

}  // namespace
}  // namespace vantisk
