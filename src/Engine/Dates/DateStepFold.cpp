#include "Engine/Dates/DateStepFold.h"

#include <algorithm>
#include <cstddef>

#include "Engine/Dates/DateFormatLocale.h"

namespace {

using Kind = DateStepKind;
constexpr std::size_t NoPart = static_cast<std::size_t>(-1);

// For each step, the innermost skip step whose part holds it (NoPart when
// none). The parts nest, as each comes from one whole-date specifier.
std::vector<std::size_t> InnermostParts(const std::vector<DateStep>& steps) {
  std::vector<std::size_t> part(steps.size(), NoPart);
  for (std::size_t skip = 0; skip < steps.size(); ++skip) {
    if (steps[skip].Kind != Kind::SkipAtMidnight) continue;
    for (std::size_t at = skip + 1; at <= skip + steps[skip].Width && at < steps.size(); ++at)
      part[at] = skip;  // a later skip lies inside an earlier one's part
  }
  return part;
}

// A separator as the literal it writes in this run.
void ResolveSeparator(DateStep& step, const std::string& dateSeparator,
                      const std::string& timeSeparator) {
  if (step.Kind == Kind::DateSeparator) step = {Kind::Literal, 0, dateSeparator, {}};
  if (step.Kind == Kind::TimeSeparator) step = {Kind::Literal, 0, timeSeparator, {}};
}

}  // namespace

void FoldDateSteps(std::vector<DateStep>& steps, const std::string& dateSeparator,
                   const std::string& timeSeparator) {
  const std::vector<std::size_t> part = InnermostParts(steps);
  std::vector<DateStep> folded;
  std::vector<std::size_t> source;    // the step each folded step came from
  std::vector<std::size_t> keptUpTo;  // folded steps among the first k steps
  keptUpTo.push_back(0);
  for (std::size_t at = 0; at < steps.size(); ++at) {
    DateStep step = steps[at];
    ResolveSeparator(step, dateSeparator, timeSeparator);
    if (step.Kind == Kind::LocaleDayHalf) {
      step.Text = LocaleDayHalfMarker(0);
      step.Width = static_cast<std::uint32_t>(step.Text.size());
      step.Text += LocaleDayHalfMarker(12);
    }
    const bool literal = step.Kind == Kind::Literal;
    if (literal && !folded.empty() && folded.back().Kind != Kind::SkipAtMidnight &&
        part[source.back()] == part[at]) {
      folded.back().After += step.Text;
    } else if (!literal || !step.Text.empty()) {
      folded.push_back(std::move(step));
      source.push_back(at);
    }
    keptUpTo.push_back(folded.size());
  }
  // A skip's part keeps the steps that came from inside it.
  for (std::size_t k = 0; k < folded.size(); ++k) {
    if (folded[k].Kind != Kind::SkipAtMidnight) continue;
    const std::size_t skip = source[k];
    const std::size_t end = std::min(skip + folded[k].Width + 1, steps.size());
    folded[k].Width = static_cast<std::uint32_t>(keptUpTo[end] - keptUpTo[skip + 1]);
  }
  steps = std::move(folded);
}
