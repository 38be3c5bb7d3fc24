#include "settings/number_form.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

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

bool AllZeros(const std::string& digits) { return digits.find_first_not_of('0') == std::string::npos; }

// from_chars leaves the value alone when it is out of range; whether it was
// too large or too small follows from where the first significant digit sits.
bool Overflows(const NumberText& number) {
  if (AllZeros(number.integerDigits) && AllZeros(number.fractionDigits)) return false;
  // An exponent of a million or more outweighs any digits a settings text has.
  if (number.exponentDigits.size() > 6) return !number.exponentNegative;
  long exponent = number.exponentDigits.empty() ? 0 : std::stol(number.exponentDigits);
  if (number.exponentNegative) exponent = -exponent;
  const std::size_t firstSignificant = number.integerDigits.find_first_not_of('0');
  if (firstSignificant != std::string::npos) {
    return exponent + static_cast<long>(number.integerDigits.size() - firstSignificant) > 0;
  }
  const std::size_t leadingZeros = number.fractionDigits.find_first_not_of('0');
  return exponent - static_cast<long>(leadingZeros) > 0;
}

double ToDouble(const NumberText& number) {
  std::string plain = number.integerDigits.empty() ? "0" : number.integerDigits;
  if (!number.fractionDigits.empty()) plain += "." + number.fractionDigits;
  if (!number.exponentDigits.empty()) {
    plain += number.exponentNegative ? "e-" : "e";
    plain += number.exponentDigits;
  }
  double value = 0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = Overflows(number) ? std::numeric_limits<double>::max() : 0.0;
  }
  return number.negative ? -value : value;
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
  char digits[64];
  // Fixed notation keeps ordinary whole numbers such as a million free of an
  // exponent; only very large or very small values use the shorter form.
  const bool fixed = magnitude >= 1e-6 && magnitude < 1e15;
  const auto result = fixed ? std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed)
                            : std::to_chars(digits, digits + sizeof digits, magnitude);
  std::string text(1, value < 0 ? '-' : ' ');
  return text.append(digits, result.ptr);
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
