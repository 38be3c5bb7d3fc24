#include "driver/options.h"

#include <algorithm>
#include <charconv>

namespace bench {
namespace {

// Upper bounds keep a typo from turning into an hour-long run.
struct IntOption {
  const char* name;
  int Options::*field;
  int minimum;
  int maximum;
  const char* help;  // Usage() adds the default from Options
};

constexpr IntOption kIntOptions[] = {
    {"--seconds", &Options::seconds, 1, 600, "length of each at-rest CPU window"},
    {"--rounds", &Options::rounds, 1, 50, "Vantisk/reference rounds at rest"},
    {"--checks", &Options::checks, 1, 100, "Vantisk/reference rounds of start-up and launch timing"},
    {"--settle", &Options::settleSeconds, 0, 120, "quiet seconds after a program is ready"},
    {"--minutes", &Options::minutes, 1, 240,
     "long run: both programs at rest with the 10 MiB clipboard,\n"
     "             sampled every minute, instead of the comparison"},
    {"--long-checks", &Options::longChecks, 1, 50, "rounds of checks of 64 KiB addresses and a 1 MiB text of them"},
    {"--long-only", &Options::longOnly, 0, 1, "1: only the checks of long addresses"},
};

std::optional<int> ParseInt(const std::string& text, int minimum, int maximum) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

// Applies `name value`; an error text, or "" when it was applied.
std::string Apply(Options& options, const std::string& name, const std::string& value) {
  if (name == "--exe32") {
    options.vantisk32 = value;
    return {};
  }
  if (name == "--ref32") {
    options.reference32 = value;
    return {};
  }
  for (const IntOption& option : kIntOptions) {
    if (name != option.name) continue;
    const std::optional<int> number = ParseInt(value, option.minimum, option.maximum);
    if (!number) {
      return name + " wants a whole number from " + std::to_string(option.minimum) + " to " +
             std::to_string(option.maximum) + ", not \"" + value + "\"";
    }
    options.*option.field = *number;
    return {};
  }
  return "unknown option " + name;
}

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string> arguments) {
  Options options;
  for (size_t i = 0; i < arguments.size(); i += 2) {
    if (i + 1 >= arguments.size()) return {std::nullopt, arguments[i] + " needs a value"};
    std::string error = Apply(options, arguments[i], arguments[i + 1]);
    if (!error.empty()) return {std::nullopt, std::move(error)};
  }
  return {options, {}};
}

// Every round starts and stops both programs, four windows a round; every
// start and launch waits for its program at most 15 s on top.
int TimeBoundSeconds(const Options& options) {
  constexpr int kSlackSeconds = 600;
  return options.rounds * 6 * (options.seconds + options.settleSeconds + 30) +
         options.checks * 6 * (options.settleSeconds + 15) + options.longChecks * 2 * (options.settleSeconds + 200) +
         options.minutes * 60 + kSlackSeconds;
}

std::string Usage() {
  std::string usage =
      "usage: bench_driver [--seconds N] [--rounds N] [--checks N] [--settle N]\n"
      "                    [--minutes N] [--long-checks N] [--long-only 0|1]\n"
      "                    [--exe32 UNIX-PATH] [--ref32 UNIX-PATH]\n";
  const Options defaults;
  for (const IntOption& option : kIntOptions) {
    std::string line = "  " + std::string(option.name);
    line.resize(std::max<std::size_t>(line.size() + 1, 13), ' ');
    line += option.help;
    // Below its minimum, a default means "off" (--minutes 0: no long run).
    const int value = defaults.*option.field;
    if (value >= option.minimum) line += " (default " + std::to_string(value) + ")";
    usage += line + "\n";
  }
  return usage + "  --exe32, --ref32  32-bit builds, whose sizes are reported\n";
}

}  // namespace bench
