#include "settings/number_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vantisk {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

TEST(FormatNumber, BlankOrMinusAndNoPointOnWholeNumbers) {
  EXPECT_EQ(FormatNumber(0), " 0");
  EXPECT_EQ(FormatNumber(-0.0), " 0");
  EXPECT_EQ(FormatNumber(1440), " 1440");
  EXPECT_EQ(FormatNumber(-150), "-150");
  EXPECT_EQ(FormatNumber(2.5), " 2.5");
  EXPECT_EQ(FormatNumber(1e6), " 1000000");
}

TEST(FormatNumber, ReadsBackAsTheSameValue) {
  for (double value : {0.1, -123456.789, 1e300, -1e-300, 4e15, 1.0 / 3}) {
    EXPECT_EQ(ParseNumber(FormatNumber(value)), value) << FormatNumber(value);
  }
}

TEST(FormatNumber, NonFiniteValuesStoreWhatTheReadWouldGive) {
  EXPECT_EQ(FormatNumber(kNaN), " 0");
  EXPECT_EQ(ParseNumber(FormatNumber(kInf)), kMax);
  EXPECT_EQ(ParseNumber(FormatNumber(-kInf)), -kMax);
}

TEST(ParseNumber, ReadsTheLeadingNumberForgivingly) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},      {"abc", 0},   {" 12abc", 12}, {"1e3", 1000},     {"-150", -150}, {"+7", 7},
      {".5", 0.5},  {"1e", 1},    {"1e+x", 1},    {"1.5E+2x", 150},  {"2.5.1", 2.5}, {"\t- 1 4 40", -1440},
      {"-", 0},     {".", 0},     {"NaN", 0},     {"inf", 0},        {"e5", 0},      {"1,5", 1},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseNumber(text), expected) << '"' << text << '"';
}

TEST(ParseNumber, ClampsOverflowAndFlushesUnderflow) {
  EXPECT_EQ(ParseNumber("1e400"), kMax);
  EXPECT_EQ(ParseNumber("-1e99999999999"), -kMax);
  EXPECT_EQ(ParseNumber("0.001e312"), kMax);
  EXPECT_EQ(ParseNumber("0.001e310"), 1e307);
  EXPECT_EQ(ParseNumber("100e-400"), 0);
  EXPECT_EQ(ParseNumber("0e99999"), 0);
  EXPECT_EQ(ParseNumber("1e-00000000000400"), 0);
}

TEST(IsNumeric, WholeTextMustBeOneNumber) {
  for (const char* text : {"1", " 2.5 ", "-7", "1e9", "\t+3\t", ".5", "5.", "1E-2"}) {
    EXPECT_TRUE(IsNumeric(text)) << '"' << text << '"';
  }
  for (const char* text : {"", " ", "abc", "12abc", "NaN", "inf", "1e", "- 5", "1 2", "-", "."}) {
    EXPECT_FALSE(IsNumeric(text)) << '"' << text << '"';
  }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{2.5, 2},  {3.5, 4},   {-2.5, -2}, {0.5, 0},  {-0.5, 0},
                                             {2.4, 2},  {2.6, 3},   {-2.6, -3}, {1e300, 1e300},
                                             {4503599627370497.0, 4503599627370497.0}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
  EXPECT_EQ(RoundHalfEven(-kInf), -kInf);
}

TEST(ListKey, JoinsListAndFormattedIndex) {
  EXPECT_EQ(ListKey(0), "list 0");
  EXPECT_EQ(ListKey(10), "list 10");
}

}  // namespace
}  // namespace vantisk
