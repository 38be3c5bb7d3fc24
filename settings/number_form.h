// The settings store keeps numbers as text: one blank before a number that is
// not negative, a minus sign before a negative one, the point as decimal
// separator whatever the user's locale. Reading is forgiving: blanks are
// skipped and parsing stops at the first character that cannot continue the
// number, so an empty or non-numeric text reads as 0.
#pragma once

#include <string>
#include <string_view>

namespace vantisk {

// " 0", " 1440", "-150", " 2.5". Whole numbers carry no decimal point.
std::string FormatNumber(double value);

// Forgiving read: "" -> 0, "abc" -> 0, " 12abc" -> 12, "1e3" -> 1000, "-150" -> -150.
double ParseNumber(std::string_view text);

// True when the whole text, blanks aside, is one decimal number ("1", " 2.5",
// "-7", "1e9"); false for "", "abc", "12abc", "NaN".
bool IsNumeric(std::string_view text);

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The settings key of checker-list entry `index`: "list 0", "list 10", ...
std::string ListKey(int index);

}  // namespace vantisk
