// The benchmark's stand-in browser (../recorder.cpp) and what the driver puts
// on the clipboard. One log line per launch:
//   <created> <started> <argument>
// both times in 100 ns units since 1601 on the system clock, the clock the
// driver reads with GetSystemTimePreciseAsFileTime, so one process can time
// another. Pure logic, tested in tests/bench_logic_test.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

inline constexpr wchar_t kBenchLaunchLog[] = L"C:\\vantisk-bench-launches.log";

struct Launch {
  std::uint64_t created = 0;  // the recorder's process was created
  std::uint64_t started = 0;  // its code began to run (WinMain)
  std::string argument;       // what it was asked to open
};

std::string FormatLaunchLine(const Launch& launch);
// nullopt for a malformed line; the argument may hold blanks.
std::optional<Launch> ParseLaunchLine(std::string_view line);
// Every complete ("\r\n"-ended) line of a log that parses, in order.
std::vector<Launch> ParseLaunchLog(std::string_view content);

// A web address of exactly `bytes` bytes (at least the length of its fixed
// start), so that a check of it launches.
std::string UrlText(std::size_t bytes);
// Plain words, `bytes` bytes, no line breaks: a big clipboard text.
std::string ProseText(std::size_t bytes);

}  // namespace bench
