// Reading Linux's /proc as Wine leaves it. Wine 8 answers GetProcessTimes for
// another process with figures that are not that process's, so the driver
// reads the CPU time of the Unix process behind a Windows one itself. Pure
// logic, tested in tests/bench_logic_test.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace bench {

// /proc/<pid>/stat counts CPU time in USER_HZ ticks, 100 a second on every
// Linux the driver can run on (it is part of the kernel's ABI there).
inline constexpr double kTicksPerSecond = 100.0;

struct StatFields {
  std::uint64_t cpuTicks = 0;   // utime + stime, all threads, also finished ones
  std::uint64_t startTicks = 0; // when the process started, ticks since boot
};

// The command name in parentheses may hold blanks and ')' itself, so the
// fields are counted from the last ')'. nullopt for a text that is not a stat line.
std::optional<StatFields> ParseStat(std::string_view stat);

// The first field of /proc/<pid>/task/<tid>/schedstat: nanoseconds that
// thread has run. nullopt for anything else.
std::optional<std::uint64_t> ParseSchedstatNs(std::string_view schedstat);

// A process's CPU time at one moment, two ways: stat's ticks count finished
// threads too but only to 10 ms; schedstat is exact to the nanosecond but
// only for the threads still there. A process at rest uses so little that
// ticks alone would be mostly rounding.
struct CpuSample {
  double tickSeconds = 0;
  double threadSeconds = 0;       // sum over `threads`
  std::vector<int> threads;       // thread ids, ascending
};

// CPU seconds from `before` to `after`: the exact sums when every thread of
// `before` is still there in `after` (a new one ran entirely in between),
// else the ticks, which keep what a finished thread used.
double CpuBetween(const CpuSample& before, const CpuSample& after);

// /proc/<pid>/environ is NUL-separated NAME=value entries.
bool EnvironHas(std::string_view environment, std::string_view entry);

// Wine rewrites a process's argv to its Windows command line, so the first
// NUL-separated word of /proc/<pid>/cmdline is the Windows path of its exe.
std::string_view Argv0(std::string_view cmdline);

// Whether `path`'s last component (after '\' or '/') is `fileName`, in any case.
bool HasFileName(std::string_view path, std::string_view fileName);

}  // namespace bench
