#include "checkers/check_target.h"

#include <utility>

namespace vantisk {
namespace {

CheckResult Refuse(CheckOutcome outcome, std::string problem = {}) { return {outcome, {}, std::move(problem)}; }

}  // namespace

CheckResult BuildCheckTarget(std::string_view checkerUrl, std::string_view address, std::string_view host,
                             std::string_view domain) {
  if (checkerUrl.empty()) {
    if (address.size() > kMaxTargetLength) return Refuse(CheckOutcome::TooLong);
    return {CheckOutcome::Launch, std::string(address), {}};
  }
  Expansion expansion = ExpandCheckerUrl(checkerUrl, address, host, domain);
  switch (expansion.outcome) {
    case ExpandOutcome::Expanded:
      return {CheckOutcome::Launch, std::move(expansion.target), {}};
    case ExpandOutcome::TooLong:
      return Refuse(CheckOutcome::TooLong);
    case ExpandOutcome::NotWebAddress:
      return Refuse(CheckOutcome::CheckerNotWeb);
    default:  // the placeholders or braces are wrong
      return Refuse(CheckOutcome::CheckerPlaceholder, DescribeExpansionProblem(expansion));
  }
}

}  // namespace vantisk
