#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "links/ascii.h"
#include "links/public_suffix.h"
#include "links/site.h"

namespace vantisk {
namespace {

struct DomainCase {
  std::string_view host;
  std::optional<std::string_view> registrable;  // nothing: the host has no registrable domain
};

// The Public Suffix List project's own cases (tests/test_psl.txt, as of the
// list Debian ships), with the international names in punycode, as our
// lookup takes them. The answers are views of the host as written, so the
// mixed-case cases compare in lower case.
TEST(PublicSuffix, PassesTheListProjectsCases) {
  const DomainCase cases[] = {
      {"", std::nullopt},
      // Mixed case.
      {"COM", std::nullopt},
      {"example.COM", "example.com"},
      {"WwW.example.COM", "example.com"},
      // Leading dot.
      {".com", std::nullopt},
      {".example", std::nullopt},
      {".example.com", std::nullopt},
      {".example.example", std::nullopt},
      // Unlisted top-level name.
      {"example", std::nullopt},
      {"example.example", "example.example"},
      {"b.example.example", "example.example"},
      {"a.b.example.example", "example.example"},
      // A top-level name with one rule.
      {"biz", std::nullopt},
      {"domain.biz", "domain.biz"},
      {"b.domain.biz", "domain.biz"},
      {"a.b.domain.biz", "domain.biz"},
      // Some second-level rules.
      {"com", std::nullopt},
      {"example.com", "example.com"},
      {"b.example.com", "example.com"},
      {"a.b.example.com", "example.com"},
      {"uk.com", std::nullopt},
      {"example.uk.com", "example.uk.com"},
      {"b.example.uk.com", "example.uk.com"},
      {"a.b.example.uk.com", "example.uk.com"},
      {"test.ac", "test.ac"},
      // Only a wildcard rule.
      {"mm", std::nullopt},
      {"c.mm", std::nullopt},
      {"b.c.mm", "b.c.mm"},
      {"a.b.c.mm", "b.c.mm"},
      // Japan: levels, wildcards and exceptions.
      {"jp", std::nullopt},
      {"test.jp", "test.jp"},
      {"www.test.jp", "test.jp"},
      {"ac.jp", std::nullopt},
      {"test.ac.jp", "test.ac.jp"},
      {"www.test.ac.jp", "test.ac.jp"},
      {"kyoto.jp", std::nullopt},
      {"test.kyoto.jp", "test.kyoto.jp"},
      {"ide.kyoto.jp", std::nullopt},
      {"b.ide.kyoto.jp", "b.ide.kyoto.jp"},
      {"a.b.ide.kyoto.jp", "b.ide.kyoto.jp"},
      {"c.kobe.jp", std::nullopt},
      {"b.c.kobe.jp", "b.c.kobe.jp"},
      {"a.b.c.kobe.jp", "b.c.kobe.jp"},
      {"city.kobe.jp", "city.kobe.jp"},
      {"www.city.kobe.jp", "city.kobe.jp"},
      // A wildcard with an exception.
      {"ck", std::nullopt},
      {"test.ck", std::nullopt},
      {"b.test.ck", "b.test.ck"},
      {"a.b.test.ck", "b.test.ck"},
      {"www.ck", "www.ck"},
      {"www.www.ck", "www.ck"},
      // US K12.
      {"us", std::nullopt},
      {"test.us", "test.us"},
      {"www.test.us", "test.us"},
      {"ak.us", std::nullopt},
      {"test.ak.us", "test.ak.us"},
      {"www.test.ak.us", "test.ak.us"},
      {"k12.ak.us", std::nullopt},
      {"test.k12.ak.us", "test.k12.ak.us"},
      {"www.test.k12.ak.us", "test.k12.ak.us"},
      // International names, punycode.
      {"xn--85x722f.com.cn", "xn--85x722f.com.cn"},
      {"xn--85x722f.xn--55qx5d.cn", "xn--85x722f.xn--55qx5d.cn"},
      {"www.xn--85x722f.xn--55qx5d.cn", "xn--85x722f.xn--55qx5d.cn"},
      {"shishi.xn--55qx5d.cn", "shishi.xn--55qx5d.cn"},
      {"xn--55qx5d.cn", std::nullopt},
      {"xn--85x722f.xn--fiqs8s", "xn--85x722f.xn--fiqs8s"},
      {"www.xn--85x722f.xn--fiqs8s", "xn--85x722f.xn--fiqs8s"},
      {"shishi.xn--fiqs8s", "shishi.xn--fiqs8s"},
      {"xn--fiqs8s", std::nullopt},
  };
  for (const auto& [host, registrable] : cases) {
    const std::optional<std::string_view> found = RegistrableDomain(host);
    ASSERT_EQ(found.has_value(), registrable.has_value()) << host;
    if (found) {
      EXPECT_EQ(LowerAscii(*found), *registrable) << host;
    }
  }
}

// Private-section rules, trailing dots and IP addresses.
TEST(PublicSuffix, TakesPrivateRulesAndSkipsAddresses) {
  const DomainCase cases[] = {
      {"user.github.io", "user.github.io"},
      {"docs.user.github.io", "user.github.io"},
      {"github.io", std::nullopt},
      {"foo.blogspot.com", "foo.blogspot.com"},
      {"www.example.co.uk.", "example.co.uk"},
      {"192.168.0.1", std::nullopt},
      {"10.0.0.1.", std::nullopt},
      {"example.0x7f", std::nullopt},
      {"[2001:db8::1]", std::nullopt},
      {"a..example.com", std::nullopt},
      {"1..", std::nullopt},
      // A rule under a name that is no rule itself, and a wildcard there.
      {"bucket.s3.amazonaws.com", "bucket.s3.amazonaws.com"},
      {"www.amazonaws.com", "amazonaws.com"},
      {"a.b.c.compute.amazonaws.com", "b.c.compute.amazonaws.com"},
  };
  for (const auto& [host, registrable] : cases) {
    EXPECT_EQ(RegistrableDomain(host), registrable) << host;
  }
}

TEST(PublicSuffix, FindsTheLongestRuleWithWildcardsAndExceptions) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"www.example.co.uk", "co.uk"},
      {"www.example.co.uk.", "co.uk"},
      {"a.b.example", "example"},                 // implicit "*"
      {"www.city.kawasaki.jp", "kawasaki.jp"},    // exception: the rule without its first label
      {"www.foo.kawasaki.jp", "foo.kawasaki.jp"}, // wildcard
      {"kawasaki.jp", "jp"},                      // a wildcard does not cover its own base
      {"www.ck", "ck"},
      {"a.b.c.mm", "c.mm"},
      {"shop.user.github.io", "github.io"},
      {"192.168.0.1", ""},
      {"[::1]", ""},
  };
  for (const auto& [host, suffix] : cases) EXPECT_EQ(PublicSuffix(host), suffix) << host;
}

TEST(PublicSuffix, TellsListedSuffixesAndClassicEndings) {
  struct NameCase {
    std::string_view name;
    bool listed;
    bool classic;
  };
  const NameCase cases[] = {
      {"com", true, true},           {"org", true, true},       {"net", true, true},
      {"co.uk", true, false},        {"github.io", true, false}, {"foo.kawasaki.jp", true, false},
      {"de", true, false},           {"dev", true, false},      {"int", true, false},
      {"xn--p1ai", true, false},     {"kawasaki.jp", false, false}, {"city.kawasaki.jp", false, false},
      {"example", false, false},     {"example.com", false, false}, {"", false, false},
      {"amazonaws.com", false, false}, {"s3.amazonaws.com", true, false},
  };
  for (const auto& [name, listed, classic] : cases) {
    EXPECT_EQ(IsListedSuffix(name), listed) << name;
    EXPECT_EQ(IsClassicGenericEnding(name), classic) << name;
  }
}

TEST(PublicSuffix, CarriesTheListsDate) {
  const std::string_view date = PublicSuffixListDate();
  ASSERT_EQ(date.size(), 10u);
  for (std::size_t i = 0; i < date.size(); ++i) {
    EXPECT_EQ(date[i] == '-', i == 4 || i == 7) << date;
  }
  EXPECT_GE(date.substr(0, 4), "2015");
}

struct HiddenCase {
  std::string_view host;
  std::optional<std::string_view> site;  // nothing: no name inside the name
  std::string_view hiddenName = {};
};

TEST(HiddenName, FlagsANameInsideTheNameAndNotOrdinaryHosts) {
  const HiddenCase cases[] = {
      {"paypal.com.secure-login.evil.example", "evil.example", "paypal.com"},
      {"login.microsoft.com.example.co.uk", "example.co.uk", "microsoft.com"},
      {"www.paypal.com.evil.example.", "evil.example", "paypal.com"},
      {"a.b.c.com.evil.example", "evil.example", "c.com"},
      {"paypal.com.au.evil.example", "evil.example", "paypal.com.au"},
      {"amazon.co.uk.account-check.example.net", "example.net", "amazon.co.uk"},
      {"alice.github.io.pages.example.org", "example.org", "alice.github.io"},
      {"xn--80ak6aa92e.com.evil.example", "evil.example", "xn--80ak6aa92e.com"},
      {"paypal.com.us.evil.example", "evil.example", "paypal.com"},
      // Ordinary hosts.
      {"mail.google.com", std::nullopt},
      {"www.bbc.co.uk", std::nullopt},
      {"a.b.example.co.uk", std::nullopt},
      {"docs.github.io", std::nullopt},
      {"user.github.io", std::nullopt},
      {"s3.eu-west-1.amazonaws.com", std::nullopt},
      {"www.city.kawasaki.jp", std::nullopt},
      {"www.foo.kawasaki.jp", std::nullopt},
      {"api.eu.example.com", std::nullopt},
      {"app.dev.example.com", std::nullopt},
      {"login.microsoft.example.com", std::nullopt},
      {"api.int.example.com", std::nullopt},
      {"shop.xn--p1ai.example.com", std::nullopt},
      {"xn--80ak6aa92e.xn--p1ai", std::nullopt},
      {"1.2.3.com.example.net", std::nullopt},
      {"4.3.2.1.in-addr.arpa", std::nullopt},
      {"com.evil.example", std::nullopt},
      {"co.uk.evil.example", std::nullopt},
      {"example.com", std::nullopt},
      {"192.168.0.1", std::nullopt},
      {"[::1]", std::nullopt},
  };
  for (const auto& [host, site, hiddenName] : cases) {
    const std::optional<HiddenName> found = FindHiddenName(host);
    ASSERT_EQ(found.has_value(), site.has_value()) << host;
    if (!found) continue;
    EXPECT_EQ(found->site, *site) << host;
    EXPECT_EQ(found->hiddenName, hiddenName) << host;
  }
}

std::string Repeated(std::string_view text, std::size_t times) {
  std::string repeated;
  for (std::size_t i = 0; i < times; ++i) repeated += text;
  return repeated;
}

// Hosts of 64 KB, as an address may carry: far more labels than DNS allows
// (127), longer than a DNS name (253 bytes) or label (63). They are judged as
// the short ones are, except that a hidden name more labels away from the
// site than a resolvable name has names no site a browser could reach; a
// search that looks the suffixes up anew for each label would take minutes.
TEST(HiddenName, JudgesHostsBeyondDnsLimits) {
  const std::string manyLabels = Repeated("a.", 32000);
  const std::string longLabel(65000, 'x');
  struct LongCase {
    std::string host;
    std::optional<std::string_view> site;
    std::string_view hiddenName = {};
  };
  const LongCase cases[] = {
      {"paypal.com." + manyLabels + "evil.example", std::nullopt},
      {"paypal.com." + Repeated("a.", 126) + "evil.example", "evil.example", "paypal.com"},
      {"paypal.com." + longLabel + ".evil.example", "evil.example", "paypal.com"},
      {manyLabels + "paypal.com.evil.example", "evil.example", "paypal.com"},
      {manyLabels + "com", std::nullopt},
      {manyLabels + "www.city.kawasaki.jp", std::nullopt},
      {manyLabels + "1.2.3.com.example.net", std::nullopt},
  };
  for (const auto& [host, site, hiddenName] : cases) {
    const std::optional<HiddenName> found = FindHiddenName(host);
    ASSERT_EQ(found.has_value(), site.has_value()) << host.substr(host.size() - 40);
    if (!found) continue;
    EXPECT_EQ(found->site, *site);
    EXPECT_EQ(found->hiddenName, hiddenName);
  }
  EXPECT_EQ(RegistrableDomain(manyLabels + "com"), "a.com");
  EXPECT_EQ(RegistrableDomain(manyLabels + "www.city.kawasaki.jp"), "city.kawasaki.jp");
  EXPECT_EQ(PublicSuffix(manyLabels + "b.foo.kawasaki.jp"), "foo.kawasaki.jp");
  EXPECT_EQ(RegistrableDomain(manyLabels + "a..com"), std::nullopt);
}

TEST(HiddenName, WritesTheNote) {
  EXPECT_EQ(HiddenNameNote({"evil.example", "paypal.com"}),
            "This link goes to evil.example; paypal.com is only the front part of its name.");
}

}  // namespace
}  // namespace vantisk
