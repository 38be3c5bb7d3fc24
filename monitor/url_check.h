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

// "http://" or "https://" (scheme in any case) followed by a host made of
// letters, digits, non-ASCII bytes and "-._~%@:[]" (up to the first "/", "?",
// "#" or the end), and nowhere a control character, a double quote or a
// backslash. Only such a text is ever handed to the shell.
bool IsWebUrl(std::string_view text);

// Every byte except A-Z a-z 0-9 and those in `alsoKept` becomes %XX (upper-case hex).
std::string PercentEncodeExcept(std::string_view bytes, std::string_view alsoKept);

// The address as one URL component: every byte except A-Z a-z 0-9 and "-._~:/"
// becomes %XX.
std::string PercentEncodeComponent(std::string_view bytes);

enum class CheckOutcome {
  Launch,             // hand `target` to the shell
  AddressNotValid,    // the address is at fault: the window's "Not a valid URL" message
  CheckerNotWeb,      // the selected checker URL is not a web address
  CheckerPlaceholder, // the selected checker URL's placeholders are wrong: `problem` says how
  TooLong,            // the target would exceed kMaxTargetLength
};

struct CheckResult {
  CheckOutcome outcome;
  std::string target;   // set only for Launch
  std::string problem;  // set only for CheckerPlaceholder, worded to follow the checker URL
};

// `address` is the canonical address found in the text, `host` its ASCII host;
// it must be a web URL. A non-empty checker URL must itself be a web URL: its
// placeholders are filled in, or, without any, the address is appended
// percent-encoded (monitor/checker_template.h). An empty checker URL opens the
// address alone.
CheckResult BuildCheckTarget(std::string_view checkerUrl, std::string_view address, std::string_view host);

}  // namespace vantisk
