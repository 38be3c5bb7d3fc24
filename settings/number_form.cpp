#include "settings/number_form.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace vantisk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of a decimal number as found at the start of a text, blanks and
// a leading '+' already dropped.
struct NumberText {
  bool negative = false;
  std::string integerDigits;
  std::string fractionDigits;
  bool exponentNegative = false;
  std::string exponentDigits;
  std::size_t end = 0;  // one past the last character that belongs to the number

  bool HasDigits() const { return !integerDigits.empty() || !fractionDigits.empty(); }
};

// Walks a text character by character; when `skipBlanks` is set, blanks are
// passed over wherever they stand, as the forgiving read wants.
class Cursor {
 public:
  Cursor(std::string_view text, bool skipBlanks) : text_(text), skipBlanks_(skipBlanks) {}

  char Peek() {
    SkipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Advance() { ++pos_; }
  bool Take(char wanted) {
    if (Peek() != wanted) return false;
    Advance();
    return true;
  }
  std::string TakeDigits() {
    std::string digits;
    while (IsDigit(Peek())) {
      digits += text_[pos_];
      Advance();
    }
    return digits;
  }
  std::size_t Position() const { return pos_; }
  void Rewind(std::size_t position) { pos_ = position; }

 private:
  void SkipBlanks() {
    while (skipBlanks_ && pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  bool skipBlanks_;
  std::size_t pos_ = 0;
};

// An exponent marker without digits after it is not part of the number, so
// "1e" reads as 1 and stops before the 'e'.
void ScanExponent(Cursor& cursor, NumberText& number) {
  const std::size_t beforeMarker = cursor.Position();
  if (!cursor.Take('e') && !cursor.Take('E')) return;
  if (cursor.Take('-')) {
    number.exponentNegative = true;
  } else {
    cursor.Take('+');
  }
  number.exponentDigits = cursor.TakeDigits();
  if (number.exponentDigits.empty()) {
    number.exponentNegative = false;
    cursor.Rewind(beforeMarker);
    return;
  }
  // Leading zeros say nothing; dropping them keeps the exponent's length honest.
  const std::size_t firstNonZero = number.exponentDigits.find_first_not_of('0');
  number.exponentDigits.erase(0, std::min(firstNonZero, number.exponentDigits.size() - 1));
}

NumberText ScanNumber(std::string_view text, bool skipBlanks) {
  Cursor cursor(text, skipBlanks);
  NumberText number;
  if (cursor.Take('-')) {
    number.negative = true;
  } else {
    cursor.Take('+');
  }
  number.integerDigits = cursor.TakeDigits();
  if (cursor.Take('.')) number.fractionDigits = cursor.TakeDigits();
  if (number.HasDigits()) ScanExponent(cursor, number);
  number.end = cursor.Position();
  return number;
}

// The C runtime's conversions are small and exact; they follow the C locale,
// which this program never changes (nothing calls setlocale), so they read
// and write the point whatever the user's locale.
double ToDouble(const NumberText& number) {
  std::string plain = number.integerDigits.empty() ? "0" : number.integerDigits;
  if (!number.fractionDigits.empty()) plain += "." + number.fractionDigits;
  if (!number.exponentDigits.empty()) {
    plain += number.exponentNegative ? "e-" : "e";
    plain += number.exponentDigits;
  }
  errno = 0;
  double value = std::strtod(plain.c_str(), nullptr);
  if (std::isinf(value)) {
    value = std::numeric_limits<double>::max();
  } else if (errno == ERANGE) {
    value = 0.0;  // too small for a normal double
  }
  return number.negative ? -value : value;
}

// The shortest "%.<n>g" text that reads back as the same value.
std::string ShortestText(double magnitude) {
  char digits[64];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(digits, sizeof digits, "%.*g", precision, magnitude);
    if (std::strtod(digits, nullptr) == magnitude) break;
  }
  return digits;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

// Non-finite values have no text the forgiving read would give back, so they
// are stored as what that read makes of an overflow: 0 for NaN, the largest
// double for the infinities.
std::string FormatNumber(double value) {
  if (std::isnan(value) || value == 0) return " 0";  // also turns -0 into " 0"
  if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);

  const double magnitude = std::fabs(value);
  // Whole numbers, such as every stored position and index, are written out
  // in full; only fractions and very large values use the shortest form.
  std::string text(1, value < 0 ? '-' : ' ');
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.0f", magnitude);
    return text + digits;
  }
  return text + ShortestText(magnitude);
}

double ParseNumber(std::string_view text) {
  const NumberText number = ScanNumber(text, /*skipBlanks=*/true);
  return number.HasDigits() ? ToDouble(number) : 0.0;
}

bool IsNumeric(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  const NumberText number = ScanNumber(trimmed, /*skipBlanks=*/false);
  return number.HasDigits() && number.end == trimmed.size();
}

// remainder() picks the nearest whole multiple with ties to even and is exact,
// unlike rounding helpers that depend on the floating-point rounding mode.
double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  return value - std::remainder(value, 1.0);
}

std::string ListKey(int index) { return "list" + FormatNumber(index); }

}  // namespace vantisk
