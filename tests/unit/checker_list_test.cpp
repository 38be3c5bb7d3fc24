#include "checkers/checker_list.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "checkers/starter_checkers.h"
#include "settings/number_form.h"

namespace vantisk {
namespace {

// An in-memory store of section "data" that also remembers the order of writes.
class FakeStore : public SettingsAccess {
 public:
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    EXPECT_EQ(section, "data");
    const auto found = values.find(std::string(key));
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    EXPECT_EQ(section, "data");
    values[std::string(key)] = value;
    writes.emplace_back(key, value);
  }

  std::map<std::string, std::string> values;
  std::vector<std::pair<std::string, std::string>> writes;
};

using List = std::vector<std::string>;

TEST(LoadCheckerList, UsesAStoredCountInRange) {
  FakeStore store;
  store.values = {{"list 0", "a"}, {"list 2", "c"}, {"list 3", "stale"}};
  const std::pair<const char*, List> cases[] = {
      {" 2", {"a", "", "c"}}, {" 2.5", {"a", "", "c"}}, {" 1.5", {"a", "", "c"}}, {"-1", {}},
      {"-0.4", {"a"}},        {"-1.4", {}},             {" 0 ", {"a"}},
  };
  for (const auto& [count, expected] : cases) {
    store.values["listcount"] = count;
    EXPECT_EQ(LoadCheckerList(store), expected) << count;
  }
}

// A first start stores the starter list like any list; once a count is
// stored, even an emptied list's "-1", the store is only read.
TEST(LoadCheckerList, FirstStartStoresTheStarterListAndLaterStartsOnlyRead) {
  FakeStore store;
  EXPECT_EQ(LoadCheckerList(store), StarterCheckers());
  EXPECT_EQ(store.values["listcount"], FormatNumber(static_cast<double>(StarterCheckers().size() - 1)));
  const std::size_t firstStartWrites = store.writes.size();
  EXPECT_EQ(LoadCheckerList(store), StarterCheckers());

  SaveCheckerList(store, {});
  const std::size_t emptiedWrites = store.writes.size();
  EXPECT_EQ(LoadCheckerList(store), List{});
  EXPECT_EQ(store.writes.size(), emptiedWrites);
  EXPECT_EQ(emptiedWrites, firstStartWrites + 1);

  FakeStore countless;
  countless.values = {{"list 0", "mine"}, {"list 1", ""}};
  EXPECT_EQ(LoadCheckerList(countless), (List{"mine", ""})) << "entries stored without a count are kept";
  EXPECT_TRUE(countless.writes.empty());
}

TEST(LoadCheckerList, UnusableCountFallsBackToTheUnbrokenRun) {
  FakeStore store;
  store.values = {{"list 0", "a"}, {"list 1", ""}, {"list 3", "orphan"}};
  for (const char* count : {"abc", "", "NaN", "99999", "2147483648", "1e9", "-5", "-7", "-1.5", "32767.5", "2x"}) {
    store.values["listcount"] = count;
    EXPECT_EQ(LoadCheckerList(store), (List{"a", ""})) << count;
  }
}

TEST(LoadCheckerList, RunStopsAtTheLargestIndex) {
  FakeStore store;
  store.values["listcount"] = "bad";
  for (int index = 0; index <= kMaxListIndex + 1; ++index) store.values.emplace(ListKey(index), "x");
  EXPECT_EQ(LoadCheckerList(store).size(), static_cast<std::size_t>(kMaxListIndex) + 1);
}

TEST(SaveCheckerList, WritesEachEntryThenItsIndexAsCount) {
  FakeStore store;
  SaveCheckerList(store, {"a", "b"});
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"list 0", "a"}, {"listcount", " 0"}, {"list 1", "b"}, {"listcount", " 1"}};
  EXPECT_EQ(store.writes, expected);
  EXPECT_EQ(LoadCheckerList(store), (List{"a", "b"}));

  SaveCheckerList(store, {});
  EXPECT_EQ(store.writes.back(), (std::pair<std::string, std::string>{"listcount", "-1"}));
  EXPECT_EQ(LoadCheckerList(store), List{});
}

TEST(SaveCheckerList, WritesNoMoreEntriesThanTheCountCanHold) {
  FakeStore store;
  SaveCheckerList(store, List(kMaxListIndex + 2, "x"));
  EXPECT_EQ(store.values.count(ListKey(kMaxListIndex + 1)), 0u);
  EXPECT_EQ(store.values["listcount"], " 32767");
  EXPECT_EQ(LoadCheckerList(store).size(), static_cast<std::size_t>(kMaxListIndex) + 1);
}

}  // namespace
}  // namespace vantisk
