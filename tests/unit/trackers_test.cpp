#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "links/trackers.h"

namespace vantisk {
namespace {

struct TrackerCase {
  std::string href;
  std::string cleaned;
  std::vector<std::string> removed;
};

TEST(RemoveTrackers, TakesOutWholeTrackingParametersAndKeepsTheRest) {
  const TrackerCase cases[] = {
      {"https://news.example/story?id=7&utm_source=mail&fbclid=IwAR0xYz", "https://news.example/story?id=7",
       {"utm_source", "fbclid"}},
      // Order and form of what stays, wherever the trackers stand.
      {"https://a.example/p?utm_medium=x&b=2&a=1&gclid=Cj0&c=%41+b", "https://a.example/p?b=2&a=1&c=%41+b",
       {"utm_medium", "gclid"}},
      {"https://a.example/?mc_cid=1&mc_eid=2", "https://a.example/", {"mc_cid", "mc_eid"}},
      {"https://a.example/p?utm_campaign=x#utm_source=y&s", "https://a.example/p#utm_source=y&s", {"utm_campaign"}},
      {"https://a.example/p?_hsenc=p2A&_hsmi=9&__s=abc123&q=1#top", "https://a.example/p?q=1#top",
       {"_hsenc", "_hsmi", "__s"}},
      // Any utm_ name; each name listed once, in order of first appearance.
      {"https://a.example/?utm_whatever=1&x=1&utm_whatever=2&yclid=3", "https://a.example/?x=1",
       {"utm_whatever", "yclid"}},
      // A name written with percent-escapes is the name it stands for.
      {"https://a.example/?utm%5Fsource=x&k=1", "https://a.example/?k=1", {"utm_source"}},
      // Empty items and items without "=" stay as they are; so does a bare tracker name's neighbour.
      {"https://a.example/?a&&b=1&igshid=MzRl", "https://a.example/?a&&b=1", {"igshid"}},
      {"https://a.example/?msclkid&flag", "https://a.example/?flag", {"msclkid"}},
      {"https://a.example/?&utm_source=x&", "https://a.example/", {"utm_source"}},
      // Names that only contain, start like or differ in case from a tracker name stay.
      {"https://a.example/?my_fbclid=1&gclid2=2&UTM_SOURCE=3&Fbclid=4&utm=5&xutm_source=6",
       "https://a.example/?my_fbclid=1&gclid2=2&UTM_SOURCE=3&Fbclid=4&utm=5&xutm_source=6", {}},
      {"https://a.example/p#fbclid=1", "https://a.example/p#fbclid=1", {}},
      {"https://a.example/p?", "https://a.example/p?", {}},
      {"https://user:pw@a.example:8080/p?mkt_tok=abc&oly_enc_id=1&oly_anon_id=2&vero_id=3&_openstat=4&dclid=5"
       "&wbraid=6&gbraid=7&id=ok",
       "https://user:pw@a.example:8080/p?id=ok",
       {"mkt_tok", "oly_enc_id", "oly_anon_id", "vero_id", "_openstat", "dclid", "wbraid", "gbraid"}},
      {"not a web address?utm_source=x", "not a web address?utm_source=x", {}},
  };
  for (const TrackerCase& test : cases) {
    SCOPED_TRACE(test.href);
    const TrackerRemoval result = RemoveTrackers(test.href);
    EXPECT_EQ(result.href, test.cleaned);
    EXPECT_EQ(result.removed, test.removed);
  }
}

TEST(RemoveTrackers, NoteNamesWhatWasTakenOut) {
  EXPECT_EQ(RemovedTrackersNote({}), "");
  EXPECT_EQ(RemovedTrackersNote({"fbclid"}), "Tracking parameter taken out: fbclid.");
  EXPECT_EQ(RemovedTrackersNote({"utm_source", "fbclid"}), "Tracking parameters taken out: utm_source, fbclid.");
}

TEST(RemoveTrackers, ManyDistinctTrackersTakeLinearTime) {
  std::string href = "https://a.example/?";
  for (int i = 0; i < 50000; ++i) href += "utm_" + std::to_string(i) + "=1&";
  const auto start = std::chrono::steady_clock::now();
  const TrackerRemoval result = RemoveTrackers(href + "keep=1");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(result.href, "https://a.example/?keep=1");
  EXPECT_EQ(result.removed.size(), 50000u);
}

}  // namespace
}  // namespace vantisk
