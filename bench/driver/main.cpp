// The benchmark's driver: runs under Wine in the prefix of the programs it
// measures and prints a report on stdout. See scripts/bench.sh.
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "driver/options.h"
#include "driver/phases.h"
#include "driver/programs.h"
#include "driver/stats.h"
#include "harness/registry.h"
#include "harness/text.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string WineVersion() {
  using Version = const char*(CDECL*)();
  const auto version = reinterpret_cast<Version>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  return version ? version() : "not Wine";
}

double FileKiB(const std::string& windowsPath) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (windowsPath.empty() || !GetFileAttributesExW(vt::Widen(windowsPath).c_str(), GetFileExInfoStandard, &data)) {
    return std::nan("");
  }
  return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) / 1024.0;
}

Row SizeRow(const std::string& what, const std::string& vantisk, const std::string& reference,
            const std::string& themed = {}) {
  Row row{what, Unit::KiB, {}, std::nullopt};
  row.series.Add(Side::Vantisk, FileKiB(vantisk));
  row.series.Add(Side::Reference, FileKiB(reference));
  if (!themed.empty()) row.series.Add(Side::Themed, FileKiB(themed));
  return row;
}

// Vantisk alone: no reference takes addresses apart.
std::vector<Row> LongRows(const Figures& f) {
  return {{"64 KiB address, 32,000 labels: key -> browser", Unit::Milliseconds, f.longAddressMs, std::nullopt},
          {"1 MiB text of 16 such: key -> their menu", Unit::Milliseconds, f.longTextMenuMs, std::nullopt}};
}

std::vector<Row> BuildRows(const Figures& f, const Options& options) {
  const double clipboardHeldOnce = 2.0 * static_cast<double>(options.bigClipboardBytes) / kMiB;
  return {
      {"Start-up until the window is shown", Unit::Milliseconds, f.startupMs, Goal{1.3}},
      {"First check: request -> browser process", Unit::Milliseconds, f.launchCreatedMs, Goal{1.2}},
      {"First check: request -> browser running", Unit::Milliseconds, f.launchStartedMs, Goal{1.2}},
      {"Warm check: request -> browser process", Unit::Milliseconds, f.launchWarmCreatedMs, Goal{1.2}},
      {"CPU per minute, its window in front, 100 B", Unit::CpuSecondsPerMinute, f.cpuSmallFront, std::nullopt},
      {"  wineserver meanwhile", Unit::CpuSecondsPerMinute, f.serverSmallFront, std::nullopt},
      {"CPU per minute at rest, 100 B clipboard", Unit::CpuSecondsPerMinute, f.cpuSmall, std::nullopt},
      {"CPU per minute at rest, 10 MiB clipboard", Unit::CpuSecondsPerMinute, f.cpuBig, Goal{1.2}},
      {"  wineserver meanwhile, 100 B clipboard", Unit::CpuSecondsPerMinute, f.serverSmall, std::nullopt},
      {"  wineserver meanwhile, 10 MiB clipboard", Unit::CpuSecondsPerMinute, f.serverBig, std::nullopt},
      {"Peak private bytes, 100 B clipboard", Unit::MiB, f.privateSmall, Goal{1.3}},
      {"Peak private bytes, 10 MiB clipboard", Unit::MiB, f.privateBig, Goal{1.3, clipboardHeldOnce}},
      {"Private bytes at rest, 10 MiB clipboard", Unit::MiB, f.restPrivateBig, Goal{1.3, clipboardHeldOnce}},
      {"Peak working set, 100 B clipboard", Unit::MiB, f.workingSmall, std::nullopt},
      {"Peak working set, 10 MiB clipboard", Unit::MiB, f.workingBig, std::nullopt},
      {"10 MiB clipboard until shown", Unit::Milliseconds, f.mirrorBigMs, std::nullopt},
      LongRows(f)[0],
      LongRows(f)[1],
      SizeRow("Exe size, 64-bit", ExePathOf(Side::Vantisk), ExePathOf(Side::Reference), ExePathOf(Side::Themed)),
      SizeRow("Exe size, 32-bit", vt::WindowsPathFromUnix(options.vantisk32),
              vt::WindowsPathFromUnix(options.reference32)),
  };
}

void PrintHeader(const Options& options) {
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  std::printf("Vantisk beside a bare Win32 program (bench/reference.cpp) and the same with Vantisk's manifest\n"
              "and one themed button (\"Themed ref\"), Wine %s, %lu CPUs.\n",
              WineVersion().c_str(), static_cast<unsigned long>(system.dwNumberOfProcessors));
  std::printf("Medians; n = samples (Vantisk/reference/themed reference).\n"
              "At rest: %d rounds of %d s windows after %d s to settle;\n"
              "start-up: %d + %d starts; checks: %d fresh processes each, their first launch and a warm second one.\n\n",
              options.rounds, options.seconds, options.settleSeconds, options.rounds, options.checks, options.checks);
}

void PrintNotes(const Figures& figures) {
  std::printf(
      "\nCPU: user + kernel time of the program's own Unix process, summed over its threads from\n"
      "/proc/<pid>/task/*/schedstat (Wine 8 does not report another process's times), scaled to a\n"
      "minute. At rest: a window of the driver's in front, as when the user works in another program;\n"
      "\"its window in front\": just started, before that. wineserver: the prefix's server over the\n"
      "same windows, whoever asked it. Private bytes:\n"
      "Wine's PagefileUsage (resident anonymous memory + swap), sampled every 50 ms while a program takes\n"
      "in a text, every 0.5 s at rest, and at the end of the window (\"at rest\"); working set: the\n"
      "kernel's peak resident set. Check: from SendInput of Ctrl+Alt+S (Vantisk) or the reference's go\n"
      "signal, to the stand-in browser's process being created and to its WinMain. Goals are judged\n"
      "against the bare reference. Private-bytes goal at 10 MiB: 1.3 x reference + the text held once\n"
      "as UTF-16 (2 bytes a character).\n");
  if (figures.bigShownChars > 0) {
    std::printf("With the 10 MiB clipboard, Vantisk's box showed %zu characters.\n", figures.bigShownChars);
  }
  if (figures.problems.empty()) return;
  std::printf("\nProblems during the run:\n");
  for (const std::string& problem : figures.problems) std::printf("  - %s\n", problem.c_str());
}

// A run that hangs ends itself, with timeout's exit code.
void EndAfter(int seconds) {
  std::thread([seconds] {
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    std::fprintf(stderr, "bench_driver: still running after %d s, stopped\n", seconds);
    std::fflush(nullptr);
    ExitProcess(124);
  }).detach();
}

int Run(const Options& options) {
  if (!RegisterBenchRecorder() || !vt::ClearSettings()) {
    std::fprintf(stderr, "bench_driver: could not prepare the registry of this prefix\n");
    return 1;
  }
  const Texts texts = MakeTexts(options);
  if (options.minutes > 0) return RunLong(options, texts) ? 0 : 1;
  PrintHeader(options);
  Figures figures;
  if (options.longOnly) {
    MeasureLongChecks(options, texts, figures);
    std::printf("%s", RenderTable(LongRows(figures)).c_str());
    PrintNotes(figures);
    return 0;
  }
  WarmUp(options, texts, figures);
  MeasureStartups(options, texts, figures);
  MeasureLaunches(options, texts, figures);
  MeasureAtRest(options, texts, figures);
  MeasureLongChecks(options, texts, figures);
  std::printf("%s", RenderTable(BuildRows(figures, options)).c_str());
  PrintNotes(figures);
  return 0;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const bench::ParsedOptions parsed = bench::ParseOptions(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "bench_driver: %s\n%s", parsed.error.c_str(), bench::Usage().c_str());
    return 64;
  }
  bench::EndAfter(bench::TimeBoundSeconds(*parsed.options));
  return bench::Run(*parsed.options);
}
