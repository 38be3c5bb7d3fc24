// The URL check: does a text qualify, and what exactly is handed to the shell.
#pragma once

#include <string>
#include <string_view>

#include "checkers/checker_template.h"

namespace vantisk {

// Used when no checker URL has been selected; an address appended to it
// becomes the value of `site`.
inline constexpr std::string_view kDefaultCheckerUrl =
    "https://www.google.com/safebrowsing/diagnostic?site=";

enum class CheckOutcome {
  Launch,             // hand `target` to the shell
  CheckerNotWeb,      // the selected checker URL is not a web address
  CheckerPlaceholder, // the selected checker URL's placeholders are wrong: `problem` says how
  TooLong,            // the target would exceed kMaxTargetLength
  NotOpenable,        // without a checker: the address itself is no web address the shell may be given
};

struct CheckResult {
  CheckOutcome outcome;
  std::string target;   // set only for Launch
  std::string problem;  // set only for CheckerPlaceholder, worded to follow the checker URL
};

// `address` is the canonical address found in the text, `host` its ASCII
// host. A non-empty checker URL must itself be a web address: its
// placeholders are filled in, or, without any, the address is appended
// percent-encoded (checkers/checker_template.h). An empty checker URL opens
// the address alone, with "\" and '"' percent-encoded for the shell.
CheckResult BuildCheckTarget(std::string_view checkerUrl, std::string_view address, std::string_view host,
                             std::string_view domain = {});

}  // namespace vantisk
