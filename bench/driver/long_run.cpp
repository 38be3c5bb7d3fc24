// The long run: both programs side by side at rest with the big clipboard, a
// line a minute, to see whether anything grows.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "driver/phases.h"
#include "driver/programs.h"
#include "harness/clipboard.h"
#include "harness/process.h"
#include "harness/wait.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr DWORD kSampleEveryMs = 5000;
constexpr double kMinuteMs = 60000.0;

struct Minute {
  double cpu[2] = {};           // CPU seconds spent in this minute
  double privateBytes[2] = {};  // MiB at its end
  double workingSet[2] = {};
};

void PrintMinute(int number, const Minute& minute) {
  std::printf("%6d  %11.3f s  %11.3f s  %9.1f MiB  %9.1f MiB  %9.1f MiB  %9.1f MiB\n", number, minute.cpu[0],
              minute.cpu[1], minute.privateBytes[0], minute.privateBytes[1], minute.workingSet[0],
              minute.workingSet[1]);
  std::fflush(stdout);
}

void PrintGrowth(const Minute& first, const Minute& last) {
  for (int side = 0; side < 2; ++side) {
    std::printf("%-9s  first to last minute: CPU %+.3f s, private bytes %+.1f MiB, working set %+.1f MiB\n",
                side == 0 ? "Vantisk" : "reference", last.cpu[side] - first.cpu[side],
                last.privateBytes[side] - first.privateBytes[side], last.workingSet[side] - first.workingSet[side]);
  }
}

// The minute's figures; nullopt when a program is gone.
std::optional<Minute> SampleMinute(const RunningProgram* programs[2], CpuSample cpuBefore[2]) {
  const double end = NowMs() + kMinuteMs;
  while (NowMs() < end) vt::PumpFor(static_cast<DWORD>(std::min<double>(kSampleEveryMs, end - NowMs())) + 1);
  Minute minute;
  for (int side = 0; side < 2; ++side) {
    const std::optional<CpuSample> cpu = programs[side]->Cpu();
    const std::optional<vt::ProcessMemoryInfo> memory = vt::ProcessMemory(programs[side]->Pid());
    if (!cpu || !memory) return std::nullopt;
    minute.cpu[side] = CpuBetween(cpuBefore[side], *cpu);
    cpuBefore[side] = *cpu;
    minute.privateBytes[side] = static_cast<double>(memory->privateBytes) / kMiB;
    minute.workingSet[side] = static_cast<double>(memory->workingSet) / kMiB;
  }
  return minute;
}

}  // namespace

bool RunLong(const Options& options, const Texts& texts) {
  const auto fail = [](const std::string& why) {
    Progress(why);
    return false;
  };
  if (!vt::SetClipboardText(texts.big)) return fail("could not set the clipboard");
  const std::unique_ptr<RunningProgram> vantisk = RunningProgram::Start(Side::Vantisk);
  if (!vantisk || !vantisk->WaitForMirror(0, texts.big.size(), 180000)) return fail("Vantisk did not start");
  const std::unique_ptr<RunningProgram> reference = RunningProgram::Start(Side::Reference);
  if (!reference || !reference->WaitResponsive(120000)) return fail("the reference did not start");
  vt::PumpFor(static_cast<DWORD>(options.settleSeconds) * 1000);

  std::printf("Long run: both programs at once, at rest, %zu-byte clipboard text, %d minutes.\n"
              "The reference, started second, has the focus: no caret blinks in Vantisk's box.\n\n",
              texts.big.size(), options.minutes);
  std::printf("minute  Vantisk CPU    ref. CPU       Vantisk priv.  ref. priv.     Vantisk WS     ref. WS\n");
  const RunningProgram* programs[2] = {vantisk.get(), reference.get()};
  CpuSample cpu[2] = {vantisk->Cpu().value_or(CpuSample{}), reference->Cpu().value_or(CpuSample{})};
  Minute first, last;
  for (int number = 1; number <= options.minutes; ++number) {
    const std::optional<Minute> minute = SampleMinute(programs, cpu);
    if (!minute) return fail("a program ended in minute " + std::to_string(number));
    last = *minute;
    if (number == 1) first = last;
    PrintMinute(number, last);
  }
  std::printf("\n");
  PrintGrowth(first, last);
  return true;
}

}  // namespace bench
