#include "checkers/check_all.h"

#include "links/utf8.h"

#include <algorithm>
#include <utility>

namespace vantisk {
namespace {

// A message box stays readable: long entries are cut, and a long run of
// skipped entries ends in a count.
constexpr std::size_t kShownEntryLength = 80;
constexpr std::size_t kShownSkippedEntries = 15;


std::string SkippedLine(const std::vector<std::string>& entries, const SkippedChecker& skipped) {
  std::string line = std::string("Checker ").append(std::to_string(skipped.index + 1));
  if (skipped.why.outcome != ExpandOutcome::EmptyChecker) {
    line.append(" (").append(Shortened(entries.at(skipped.index), kShownEntryLength)).append(")");
  }
  return line.append(" ").append(DescribeExpansionProblem(skipped.why)).append(".");
}

std::string SkippedHeading(const CheckAllPlan& plan) {
  const std::size_t all = plan.targets.size() + plan.skipped.size();
  if (plan.targets.empty()) {
    return std::string("None of the ").append(std::to_string(all)).append(" checkers in the list could be used:");
  }
  return std::to_string(plan.skipped.size()).append(" of ").append(std::to_string(all)).append(" checkers were skipped:");
}

}  // namespace

CheckAllPlan PlanCheckAll(const std::vector<std::string>& entries, std::string_view address, std::string_view host,
                          std::string_view domain) {
  CheckAllPlan plan;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    Expansion expansion = ExpandCheckerUrl(entries[index], address, host, domain);
    if (expansion.outcome == ExpandOutcome::Expanded) {
      plan.targets.push_back(std::move(expansion.target));
    } else {
      plan.skipped.push_back({index, std::move(expansion)});
    }
  }
  return plan;
}

bool NeedsConfirmation(const CheckAllPlan& plan) { return plan.targets.size() > kPagesOpenedWithoutAsking; }

std::string OpenPagesQuestion(std::size_t pages) {
  return std::string("Open ").append(std::to_string(pages)).append(pages == 1 ? " checker page?" : " checker pages?");
}

std::string SkippedCheckersMessage(const std::vector<std::string>& entries, const CheckAllPlan& plan) {
  if (plan.skipped.empty()) return {};
  std::string message = SkippedHeading(plan) + "\n";
  const std::size_t shown = std::min(plan.skipped.size(), kShownSkippedEntries);
  for (std::size_t i = 0; i < shown; ++i) message.append("\n").append(SkippedLine(entries, plan.skipped[i]));
  if (plan.skipped.size() > shown) {
    message.append("\n... and ").append(std::to_string(plan.skipped.size() - shown)).append(" more.");
  }
  return message;
}

}  // namespace vantisk
