// The driver's command line. Pure logic, tested in tests/bench_logic_test.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace bench {

// The defaults are stated here alone: Usage() prints them and TimeBound()
// works from them.
struct Options {
  int seconds = 12;      // length of one at-rest CPU window
  int rounds = 3;        // Vantisk/reference rounds of the at-rest phase
  int checks = 21;       // Vantisk/reference rounds of start-up and launch
  int settleSeconds = 2; // quiet time after a program is ready, before a window
  int minutes = 0;       // > 0: the long run instead of the comparison
  int longChecks = 5;    // rounds of checks of the longest addresses
  int longOnly = 0;      // 1: only those checks
  std::size_t smallClipboardBytes = 100;
  std::size_t bigClipboardBytes = 10u << 20;
  std::string vantisk32;    // Unix paths of the 32-bit exes, for their sizes
  std::string reference32;
};

struct ParsedOptions {
  std::optional<Options> options;  // nullopt: `error` says why
  std::string error;
};

ParsedOptions ParseOptions(std::span<const std::string> arguments);
// The longest a run with these options may take: the driver ends itself then,
// so that a program that hangs under Wine does not hold the machine.
int TimeBoundSeconds(const Options& options);
std::string Usage();

}  // namespace bench
