// Checking one address with every checker of the list: which pages open, in
// which order, which entries are skipped and what the user is told.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "checkers/checker_template.h"

namespace vantisk {

// More pages than this open only after the user agreed.
inline constexpr std::size_t kPagesOpenedWithoutAsking = 5;

inline constexpr std::string_view kEmptyCheckerListMessage =
    "The checker list is empty. Add a checker URL to the list first.";

struct SkippedChecker {
  std::size_t index;     // position in the list, 0 for its first entry
  Expansion why;         // the reason, with the offending piece
};

struct CheckAllPlan {
  std::vector<std::string> targets;     // in list order, one browser launch each
  std::vector<SkippedChecker> skipped;  // in list order
};

// Expands every entry with the same address and host. Duplicate entries give
// duplicate targets: each entry the user kept is one page.
CheckAllPlan PlanCheckAll(const std::vector<std::string>& entries, std::string_view address, std::string_view host,
                          std::string_view domain = {});

// Only pages that will really open count: skipped entries open nothing.
bool NeedsConfirmation(const CheckAllPlan& plan);

// "Open 8 checker pages?"
std::string OpenPagesQuestion(std::size_t pages);

// One message naming every skipped entry by its number in the list ("" when
// none was skipped); `entries` are those the plan was made from.
std::string SkippedCheckersMessage(const std::vector<std::string>& entries, const CheckAllPlan& plan);

}  // namespace vantisk
