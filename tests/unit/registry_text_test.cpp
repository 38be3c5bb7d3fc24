#include "about/registry_text.h"

#include <gtest/gtest.h>

namespace vantisk {
namespace {

using namespace std::string_view_literals;

TEST(TrimRegistryText, DropsOneTerminatingNul) {
  EXPECT_EQ(TrimRegistryText("Vantisk\0"sv, 8), "Vantisk");
  EXPECT_EQ(TrimRegistryText("Vantisk"sv, 7), "Vantisk");
  EXPECT_EQ(TrimRegistryText("a\0\0"sv, 3), std::string("a\0", 2));
  EXPECT_EQ(TrimRegistryText("\0"sv, 1), "");
}

TEST(TrimRegistryText, KeepsToTheReportedSizeAndTheBuffer) {
  EXPECT_EQ(TrimRegistryText("abc", 0), "");
  EXPECT_EQ(TrimRegistryText("abcdef", 3), "abc");
  EXPECT_EQ(TrimRegistryText("abc", 4000), "abc");
}

TEST(DwordRegistryText, LastByteFirstInUpperCaseHex) {
  EXPECT_EQ(DwordRegistryText(TrimRegistryText("\x05\x01\0\0"sv, 4)), "&h000105");
  EXPECT_EQ(DwordRegistryText("\x78\x56\x34\x12"sv), "&h12345678");
  EXPECT_EQ(DwordRegistryText("\xAB\xFF"sv), "&hFFAB");
  EXPECT_EQ(DwordRegistryText(""), "&h");
}

}  // namespace
}  // namespace vantisk
