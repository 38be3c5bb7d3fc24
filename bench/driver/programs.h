// The two programs side by side: Vantisk and the bare reference, started,
// watched and stopped the same way.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "driver/stats.h"
#include "driver/unix_view.h"
#include "harness/process.h"

namespace bench {

// Memory figures in bytes: the highest seen and the last. Wine reports the
// kernel's peak resident set as the peak working set, but its "peak" private
// bytes are just the current ones, so those are sampled.
struct MemoryPeak {
  double privateBytes = 0;
  double workingSet = 0;
  double lastPrivateBytes = 0;
  void Sample(DWORD pid);
};

// Samples a process's memory into `peak` every `intervalMs` on a thread of
// its own while this object lives: a program busy with a big text does not
// answer the driver's messages, and its peak falls in just that time.
class PeakSampler {
 public:
  PeakSampler(DWORD pid, MemoryPeak& peak, DWORD intervalMs);
  ~PeakSampler();
  PeakSampler(const PeakSampler&) = delete;
  PeakSampler& operator=(const PeakSampler&) = delete;

 private:
  static DWORD WINAPI Run(void* self);
  DWORD pid_;
  MemoryPeak& peak_;
  DWORD intervalMs_;
  tk::UniqueHandle stop_;
  tk::UniqueHandle thread_;
};

const char* NameOf(Side side);
std::string ExePathOf(Side side);

// One run of a program, from its start until it is shown, then at rest until
// this object goes, which ends it: Vantisk by its exit hotkey, the reference
// by closing its window, either killed when that does not work.
class RunningProgram {
 public:
  // nullptr when it did not start or did not show its window in time.
  static std::unique_ptr<RunningProgram> Start(Side side);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  Side Which() const { return side_; }
  DWORD Pid() const { return process_.Pid(); }
  HWND Window() const { return window_; }
  // From asking Windows to create the process until its window is visible.
  double StartupMs() const { return startupMs_; }
  std::optional<CpuSample> Cpu() const;
  // Vantisk: until the monitor's box shows a new clipboard text of `length`
  // characters: all of them, or any other count than `lengthBefore` (the
  // program may show only the start of a long text). The count shown, or
  // nullopt on time-out. The reference mirrors nothing: `length` at once.
  std::optional<std::size_t> WaitForMirror(std::size_t lengthBefore, std::size_t length, DWORD timeoutMs) const;
  // Until the program answers a message: it has finished what it was doing.
  bool WaitResponsive(DWORD timeoutMs) const;

 private:
  explicit RunningProgram(Side side) : side_(side) {}
  bool Launch();
  void Stop();

  Side side_;
  vt::VantiskProcess process_;
  HWND window_ = nullptr;
  double startupMs_ = 0;
  std::optional<UnixProcess> unix_;
};

// Milliseconds on a monotonic clock, for durations within the driver.
double NowMs();

}  // namespace bench
