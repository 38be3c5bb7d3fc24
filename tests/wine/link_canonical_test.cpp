// The address pipeline with the system's URL, international-name and script
// functions: from copied text to what is sent and what the notes are made of.
// The test program runs with the UTF-8 code page, as the program does.
#include "links/canonical.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "links/finder.h"
#include "links/percent.h"

namespace vantisk {
namespace {

struct Expected {
  std::string text;  // as copied
  std::string canonical;
  std::string host = {};
  std::string unicodeHost = {};
  std::string userInfo = {};
  bool hostIsIp = false;
  bool disguised = false;
  bool mixedScripts = false;
};

std::string InSafeLinks(std::string_view target) {
  return "https://nam01.safelinks.protection.outlook.com/?url=" + PercentEncode(target, kCheckerValueSet) + "&data=05";
}

TEST(CanonicaliseLink, WritesTheAddressAsABrowserRequestsIt) {
  const Expected cases[] = {
      {"hxxps://evil[.]example/login", "https://evil.example/login", "evil.example"},
      {"Please open https://a.example/x. Thanks", "https://a.example/x", "a.example"},
      {"HTTPS://G.EXAMPLE", "https://g.example", "g.example"},
      {"http://a.example:00000000000000000000080/x https://a.example:0443", "http://a.example/x", "a.example"},
      {"https://a.example:0443", "https://a.example", "a.example"},
      {"http://a.example:/x", "http://a.example/x", "a.example"},
      {"https://a.example:8443/x", "https://a.example:8443/x", "a.example"},
      // Kept as written, byte for byte.
      {"http://a_b.example/x/../y/./z?%41=%zz&b;#f{}|^", "http://a_b.example/x/../y/./z?%41=%zz&b;#f{}|^",
       "a_b.example"},
      {"http://ex%61mple.com/", "http://example.com/", "example.com"},
      // What cannot stand in a URL, percent-encoded as UTF-8.
      {InSafeLinks("https://a.example/a b\"<>\xC3\xA4\\c\r\n?d\\e#\xF0\x9F\x98\x80"),
       "https://a.example/a%20b%22%3C%3E%C3%A4/c%0D%0A?d%5Ce#%F0%9F%98%80", "a.example"},
      {"https://urldefense.proofpoint.com/v2/url?u=https-3A__a.example_p&d=x", "https://a.example/p", "a.example"},
      {"https://urldefense.com/v3/__https://a.example/p?q=1*r=2__;Jg!!ABC$", "https://a.example/p?q=1&r=2",
       "a.example"},
      // User information is not sent.
      {"https://paypal.com@evil.example/", "https://evil.example/", "evil.example", "", "paypal.com"},
      {"http://a@b@c.example:81/", "http://c.example:81/", "c.example", "", "a@b"},
      // Numeric hosts in every disguise, as browsers read them.
      {"http://3232235777/", "http://192.168.1.1/", "192.168.1.1", "", "", true, true},
      {"http://0xC0A80101/", "http://192.168.1.1/", "192.168.1.1", "", "", true, true},
      {"http://0300.0250.1.1/", "http://192.168.1.1/", "192.168.1.1", "", "", true, true},
      {"http://0xc0.0250.01/", "http://192.168.0.1/", "192.168.0.1", "", "", true, true},
      {"http://192.168.257/", "http://192.168.1.1/", "192.168.1.1", "", "", true, true},
      {"http://127.1/", "http://127.0.0.1/", "127.0.0.1", "", "", true, true},
      {"http://%31%32%37.0.0.1/", "http://127.0.0.1/", "127.0.0.1", "", "", true, true},
      {"http://"
       "\xEF\xBC\x90\xEF\xBC\xB8\xEF\xBD\x83\xEF\xBC\x90\xEF\xBC\x8E\xEF\xBC\x90\xEF\xBC\x92\xEF\xBC\x95\xEF\xBC\x90"
       "\xEF\xBC\x8E\xEF\xBC\x90\xEF\xBC\x91/",
       "http://192.168.0.1/", "192.168.0.1", "", "", true, true},
      {"http://192.168.1.1:8080/", "http://192.168.1.1:8080/", "192.168.1.1", "", "", true},
      {"http://[0:0::1]:8080/x", "http://[::1]:8080/x", "[::1]", "", "", true},
      {"http://192.168.0.257/", "http://192.168.0.257/", "192.168.0.257"},
      // International names, and letters of scripts mixed in one label.
      {"https://b\xC3\xBC"
       "cher.example/",
       "https://xn--bcher-kva.example/", "xn--bcher-kva.example",
       "b\xC3\xBC"
       "cher.example"},
      {"https://\xD0\xB0pple.com/", "https://xn--pple-43d.com/", "xn--pple-43d.com", "\xD0\xB0pple.com", "", false,
       false, true},
      {"https://xn--pple-43d.com/", "https://xn--pple-43d.com/", "xn--pple-43d.com", "\xD0\xB0pple.com", "", false,
       false, true},
      {"https://\xCE\xB1lpha.example/", "https://xn--lpha-zld.example/", "xn--lpha-zld.example", "\xCE\xB1lpha.example",
       "", false, false, true},
      {"https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.com/", "https://xn--e1afmkfd.com/", "xn--e1afmkfd.com",
       "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.com"},
  };
  for (const Expected& test : cases) {
    SCOPED_TRACE(test.text);
    const auto found = FindLink(test.text);
    ASSERT_TRUE(found.has_value());
    const auto facts = CanonicaliseLink(found->address);
    ASSERT_TRUE(facts.has_value()) << found->address;
    EXPECT_EQ(facts->canonical, test.canonical);
    EXPECT_EQ(facts->host, test.host);
    EXPECT_EQ(facts->unicodeHost, test.unicodeHost);
    EXPECT_EQ(facts->userInfo, test.userInfo);
    EXPECT_EQ(facts->hostIsIp, test.hostIsIp);
    EXPECT_EQ(facts->hostWasNumberInDisguise, test.disguised);
    EXPECT_EQ(facts->mixedScripts, test.mixedScripts);
    EXPECT_TRUE(std::all_of(facts->canonical.begin(), facts->canonical.end(),
                            [](char c) { return c > 0x20 && c < 0x7F && c != '"' && c != '\\'; }));
  }
}

TEST(CanonicaliseLink, RefusesWhatNoBrowserWouldOpen) {
  for (const char* address : {"ftp://a.example/", "http:///x", "http://a.example:99999/", "http://a.example:8x/",
                              "http://ex%2Fample.com/", "http://a%20b.example/",
                              "http://a\xEF\xBC\x8F"
                              "b.example/",
                              "http://[1:2:3:4:5:6:7:8:9]/", "http://[::1/"}) {
    EXPECT_FALSE(CanonicaliseLink(address).has_value()) << address;
  }
}

}  // namespace
}  // namespace vantisk
