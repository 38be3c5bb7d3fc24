#include "checkers/check_target.h"

#include <utility>

#include "links/percent.h"
#include "links/web_address.h"

namespace vantisk {
namespace {

CheckResult Refuse(CheckOutcome outcome, std::string problem = {}) { return {outcome, {}, std::move(problem)}; }

// A canonical address can still hold "\" in its query and fragment, which a
// command line could read as the escape of the quote that ends the address.
// It goes percent-encoded instead, so the server receives "%5C" where the link
// had "\": the one way the link opened differs from the link.
CheckResult OpenLinkItself(std::string_view address) {
  std::string target = PercentEncode(address, kC0ControlSet.With("\"\\"));
  if (target.size() > kMaxTargetLength) return Refuse(CheckOutcome::TooLong);
  if (!IsShellSafeWebAddress(target)) return Refuse(CheckOutcome::NotOpenable);
  return {CheckOutcome::Launch, std::move(target), {}};
}

}  // namespace

CheckResult BuildCheckTarget(std::string_view checkerUrl, std::string_view address, std::string_view host,
                             std::string_view domain) {
  if (checkerUrl.empty()) return OpenLinkItself(address);
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
