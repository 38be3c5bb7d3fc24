// The driver's pure logic: a wrong parse here would not crash the benchmark,
// it would print wrong figures, so these pin what the figures rest on.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "driver/launch_log.h"
#include "driver/options.h"
#include "driver/proc_text.h"
#include "driver/stats.h"
#include "checkers/check_target.h"

namespace bench {
namespace {

ParsedOptions Parse(std::vector<std::string> arguments) { return ParseOptions(arguments); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST(BenchOptions, EveryOptionIsTakenAndTheRestKeepTheirDefaults) {
  const ParsedOptions parsed = Parse({"--seconds", "20", "--minutes", "10", "--long-only", "1", "--exe32", "/a b/Vantisk.exe"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->seconds, 20);
  EXPECT_EQ(parsed.options->minutes, 10);
  EXPECT_EQ(parsed.options->longOnly, 1);
  EXPECT_EQ(parsed.options->vantisk32, "/a b/Vantisk.exe");
  EXPECT_EQ(parsed.options->rounds, Options{}.rounds);
  EXPECT_EQ(parsed.options->checks, Options{}.checks);
}

TEST(BenchOptions, NumbersOutsideTheirRangeOrWithJunkAreRefusedByName) {
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"--seconds", "0"}, {"--seconds", "-5"}, {"--rounds", "15s"}, {"--checks", ""},
           {"--minutes", "99999999999"}, {"--settle", "1.5"}, {"--long-only", "2"}}) {
    const ParsedOptions parsed = Parse({name, value});
    EXPECT_FALSE(parsed.options) << name << " " << value;
    EXPECT_NE(parsed.error.find(name), std::string::npos) << parsed.error;
  }
}

TEST(BenchOptions, AMissingValueOrAnUnknownOptionIsRefused) {
  EXPECT_FALSE(Parse({"--seconds"}).options);
  EXPECT_FALSE(Parse({"--rounds", "2", "--minutes"}).options);
  const ParsedOptions unknown = Parse({"--second", "5"});
  EXPECT_FALSE(unknown.options);
  EXPECT_NE(unknown.error.find("--second"), std::string::npos);
}

TEST(BenchStats, MedianOfOddEvenUnsortedAndNoSamples) {
  EXPECT_EQ(Median({5, 1, 3}), 3);
  EXPECT_EQ(Median({4, 1, 3, 2}), 2.5);
  EXPECT_EQ(Median({7}), 7);
  EXPECT_TRUE(std::isnan(Median({})));
}

TEST(BenchStats, NoRatioAgainstAReferenceOfZeroOrWithoutSamples) {
  EXPECT_DOUBLE_EQ(Ratio(3, 2).value(), 1.5);
  EXPECT_FALSE(Ratio(3, 0));
  EXPECT_FALSE(Ratio(3, -1));
  EXPECT_FALSE(Ratio(3, std::nan("")));
  EXPECT_FALSE(Ratio(std::nan(""), 2));
}

TEST(BenchStats, VerdictCountsTheAllowanceAndNeedsBothSides) {
  Row row{"memory", Unit::MiB, {{30}, {10}, {}}, Goal{1.5, 20}};
  EXPECT_EQ(Verdict(row), "met") << "30 <= 1.5 * 10 + 20";
  row.series.vantisk = {35.5};
  EXPECT_EQ(Verdict(row), "missed");
  row.series.vantisk = {35};
  EXPECT_EQ(Verdict(row), "met") << "the limit itself is within the goal";
  row.series.reference.clear();
  EXPECT_EQ(Verdict(row), "") << "nothing to judge against";
  row.goal.reset();
  row.series.reference = {10};
  EXPECT_EQ(Verdict(row), "");
}

TEST(BenchStats, ValuesCarryTheirUnitAndAMissingOneIsADash) {
  EXPECT_EQ(FormatValue(12.34, Unit::Milliseconds), "12.3 ms");
  EXPECT_EQ(FormatValue(1234.4, Unit::Milliseconds), "1234 ms");
  EXPECT_EQ(FormatValue(0.0624, Unit::CpuSecondsPerMinute), "0.062 s");
  EXPECT_EQ(FormatValue(20, Unit::MiB), "20.0 MiB");
  EXPECT_EQ(FormatValue(std::nan(""), Unit::KiB), "-");
  EXPECT_EQ(FormatGoal(Goal{1.5, 20}, Unit::MiB), "<= 1.5x + 20.0 MiB");
  EXPECT_EQ(FormatGoal(Goal{1.2}, Unit::Milliseconds), "<= 1.2x");
}

TEST(BenchStats, TheTableAlignsItsColumnsAndShowsVantiskOnlyRows) {
  const std::string table = RenderTable({
      {"Start-up", Unit::Milliseconds, {{300, 100, 200}, {100, 150}, {}}, Goal{1.5}},
      {"Shown after", Unit::Milliseconds, {{1000}, {}, {}}, std::nullopt},
      {"Private", Unit::MiB, {{6}, {4}, {5, 4, 5}}, Goal{1.3}},
  });
  const std::vector<std::string> lines = Lines(table);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[3].find("1/1/3"), std::string::npos) << "the themed reference's count too";
  EXPECT_NE(lines[3].find("1.20x"), std::string::npos) << "6 / 5 beside the themed reference";
  EXPECT_NE(lines[3].find("missed"), std::string::npos) << "judged against the bare reference (1.5x)";
  EXPECT_EQ(lines[3].substr(lines[0].rfind("Ratio"), 5), "1.20x") << table;
  EXPECT_NE(lines[1].find("3/2"), std::string::npos) << "sample counts per side";
  EXPECT_NE(lines[1].find("1.60x"), std::string::npos) << "200 / 125: medians, not means";
  EXPECT_NE(lines[1].find("missed"), std::string::npos);
  const size_t ratioColumnEnd = lines[0].find("Ratio") + 5;
  EXPECT_EQ(lines[1].substr(ratioColumnEnd - 5, 5), "1.60x") << table;
  EXPECT_EQ(lines[2].substr(ratioColumnEnd - 1, 1), "-") << table;
  for (const std::string& line : lines) EXPECT_NE(line.back(), ' ');
}

TEST(ProcText, StatFieldsAreCountedAfterTheLastParenthesis) {
  const std::string tail = " S 1 2 3 0 -1 4194304 817 0 0 0 94 7 0 0 20 0 1 0 309813 1801764864 1862";
  const std::optional<StatFields> plain = ParseStat("26302 (t.exe)" + tail);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->cpuTicks, 101u) << "utime 94 + stime 7";
  EXPECT_EQ(plain->startTicks, 309813u);
  // A command name may hold blanks and parentheses of its own.
  const std::optional<StatFields> odd = ParseStat("7 (a) b (c) d)" + tail);
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->cpuTicks, 101u);
}

TEST(ProcText, ATruncatedOrGarbledStatLineGivesNothing) {
  EXPECT_FALSE(ParseStat(""));
  EXPECT_FALSE(ParseStat("26302 (t.exe) S 1 2 3 0 -1 4194304 817 0 0 0 94"));
  EXPECT_FALSE(ParseStat("26302 (t.exe) S 1 2 3 0 -1 4194304 817 0 0 0 x4 7 0 0 20 0 1 0 309813"));
  EXPECT_FALSE(ParseStat("26302 t.exe S 1 2 3 0 -1 4194304 817 0 0 0 94 7 0 0 20 0 1 0 309813"));
}

TEST(ProcText, SchedstatGivesTheRunTimeInNanoseconds) {
  EXPECT_EQ(ParseSchedstatNs("5518046 13426720 4\n"), 5518046u);
  EXPECT_FALSE(ParseSchedstatNs(""));
  EXPECT_FALSE(ParseSchedstatNs("-3 1 2"));
}

TEST(ProcText, CpuIsExactWhileNoThreadEndsAndFallsBackToTicksWhenOneDoes) {
  const CpuSample before{1.00, 2.000100, {10, 11}};
  const CpuSample grown{1.01, 2.004100, {10, 11, 12}};
  EXPECT_NEAR(CpuBetween(before, grown), 0.004, 1e-9) << "a thread started in between ran in between";
  const CpuSample shrunk{1.05, 1.5, {10, 12}};
  EXPECT_NEAR(CpuBetween(before, shrunk), 0.05, 1e-9) << "thread 11's time is gone from the exact sum";
}

TEST(ProcText, AnEnvironmentEntryMatchesOnlyWhole) {
  using namespace std::string_literals;
  const std::string environment = "HOME=/root\0WINEPREFIX=/tmp/run.1\0XWINEPREFIX=/tmp/run.2\0DISPLAY=:81"s;
  EXPECT_TRUE(EnvironHas(environment, "WINEPREFIX=/tmp/run.1"));
  EXPECT_TRUE(EnvironHas(environment, "DISPLAY=:81")) << "the last entry has no NUL after it";
  EXPECT_FALSE(EnvironHas(environment, "WINEPREFIX=/tmp/run."));
  EXPECT_FALSE(EnvironHas(environment, "WINEPREFIX=/tmp/run.2"));
}

TEST(ProcText, TheExeIsRecognisedByItsWholeFileNameInAnyCase) {
  using namespace std::string_literals;
  const std::string cmdline = "Z:\\w\\build\\VANTISK.exe\0--flag\0\0\0"s;
  const std::string_view argv0 = Argv0(cmdline);
  EXPECT_EQ(argv0, "Z:\\w\\build\\VANTISK.exe");
  EXPECT_TRUE(HasFileName(argv0, "Vantisk.exe"));
  EXPECT_TRUE(HasFileName("/usr/lib/wine/wineserver64", "wineserver64"));
  EXPECT_FALSE(HasFileName("Z:\\w\\NotVantisk.exe", "Vantisk.exe"));
  EXPECT_FALSE(HasFileName("Z:\\w\\Vantisk.exe.bak", "Vantisk.exe"));
}

TEST(LaunchLog, LinesRoundTripWithBlanksInTheArgument) {
  const Launch launch{133000000000000001u, 133000000000123456u, "https://a.example/x y"};
  const std::vector<Launch> parsed = ParseLaunchLog(FormatLaunchLine(launch) + FormatLaunchLine(launch));
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[1].created, launch.created);
  EXPECT_EQ(parsed[1].started, launch.started);
  EXPECT_EQ(parsed[1].argument, launch.argument);
}

TEST(LaunchLog, MalformedAndUnfinishedLinesAreNotLaunches) {
  const std::string log = "garbage\r\n12 x https://a/\r\n12 34\r\n5 6 https://ok/\r\n7 8 https://half";
  const std::vector<Launch> parsed = ParseLaunchLog(log);
  ASSERT_EQ(parsed.size(), 1u);
  EXPECT_EQ(parsed[0].argument, "https://ok/");
  EXPECT_EQ(parsed[0].started, 6u);
}

TEST(ClipboardTexts, TheSmallTextIsAnAddressACheckLaunchesAtTheExactSize) {
  const std::string url = UrlText(100);
  EXPECT_EQ(url.size(), 100u);
  const vantisk::CheckResult check = vantisk::BuildCheckTarget(vantisk::kDefaultCheckerUrl, url, "example.com");
  EXPECT_EQ(check.outcome, vantisk::CheckOutcome::Launch);
}

TEST(ClipboardTexts, TheBigTextHasTheExactSizeAndNoLineBreak) {
  const std::string text = ProseText((10u << 20) + 3);
  EXPECT_EQ(text.size(), (10u << 20) + 3);
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace bench
