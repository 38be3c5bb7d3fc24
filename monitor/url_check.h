// The URL check: does a text qualify, and what exactly is handed to the shell.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantisk {

// Used when no checker URL has been selected; an address appended to it
// becomes the value of `site`.
inline constexpr std::string_view kDefaultCheckerUrl =
    "https://www.google.com/safebrowsing/diagnostic?site=";

// Longest target handed to the shell; longer ones are refused with a message
// instead of failing silently in the browser or the shell.
inline constexpr std::size_t kMaxTargetLength = 2048;

// The program's own test: "http" anywhere in the text, case-sensitive.
bool ContainsHttp(std::string_view text);

// "http://" or "https://" (scheme in any case) followed by a host made of
// letters, digits, non-ASCII bytes and "-._~%@:[]" (up to the first "/", "?",
// "#" or the end), and nowhere a control character, a double quote or a
// backslash. Only such a text is ever handed to the shell.
bool IsWebUrl(std::string_view text);

// Every byte except A-Z a-z 0-9 and "-._~:/" becomes %XX (upper-case hex).
std::string PercentEncodeComponent(std::string_view bytes);

enum class CheckOutcome {
  Launch,            // hand `target` to the shell
  AddressNotValid,   // the address is at fault: the window's "Not a valid URL" message
  CheckerNotWeb,     // the selected checker URL is not a web address
  TooLong,           // the target would exceed kMaxTargetLength
};

struct CheckResult {
  CheckOutcome outcome;
  std::string target;  // set only for Launch
};

// The address must contain "http". A non-empty checker URL must itself be a
// web URL and gets the address percent-encoded after it; an empty checker URL
// opens the address as it stands, which must then be a web URL.
CheckResult BuildCheckTarget(std::string_view checkerUrl, std::string_view address);

}  // namespace vantisk
