#include "driver/programs.h"

#include <algorithm>

#include "harness/input.h"
#include "harness/paths.h"
#include "harness/text.h"
#include "harness/wait.h"
#include "harness/window.h"
#include "monitor/form2_ids.h"

namespace bench {
namespace {

constexpr DWORD kShowTimeoutMs = 30000;
constexpr DWORD kStartPollMs = 2;  // the resolution of the start-up figure
constexpr DWORD kFindUnixTimeoutMs = 5000;
constexpr DWORD kExitTimeoutMs = 5000;
constexpr char kReferenceClass[] = "VantiskBenchReference";

const char* WindowClassOf(Side side) {
  return side == Side::Vantisk ? vantisk::form2_ids::kClassName : kReferenceClass;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// FindWindow by class is one cheap call, which matters while polling every
// few milliseconds beside the program that is starting.
HWND VisibleWindowOf(const char* windowClass, DWORD pid) {
  HWND window = FindWindowA(windowClass, nullptr);
  DWORD owner = 0;
  if (window) GetWindowThreadProcessId(window, &owner);
  return window && owner == pid && IsWindowVisible(window) ? window : nullptr;
}

}  // namespace

void MemoryPeak::Sample(DWORD pid) {
  if (const std::optional<vt::ProcessMemoryInfo> memory = vt::ProcessMemory(pid)) {
    lastPrivateBytes = static_cast<double>(memory->privateBytes);
    privateBytes = std::max(privateBytes, lastPrivateBytes);
    workingSet = std::max(workingSet, static_cast<double>(
                                          std::max(memory->peakWorkingSet, memory->workingSet)));
  }
}

PeakSampler::PeakSampler(DWORD pid, MemoryPeak& peak, DWORD intervalMs)
    : pid_(pid), peak_(peak), intervalMs_(intervalMs), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  peak_.Sample(pid_);
  if (stop_) thread_.reset(CreateThread(nullptr, 0, &PeakSampler::Run, this, 0, nullptr));
}

// The last sample is taken once the thread is done, so `peak` is not
// written by two threads at once and ends with the figures of this moment.
PeakSampler::~PeakSampler() {
  if (thread_) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  peak_.Sample(pid_);
}

DWORD WINAPI PeakSampler::Run(void* self) {
  auto* sampler = static_cast<PeakSampler*>(self);
  while (WaitForSingleObject(sampler->stop_.get(), sampler->intervalMs_) == WAIT_TIMEOUT) {
    sampler->peak_.Sample(sampler->pid_);
  }
  return 0;
}

const char* NameOf(Side side) {
  switch (side) {
    case Side::Vantisk:
      return "Vantisk";
    case Side::Reference:
      return "reference";
    case Side::Themed:
      return "themed reference";
  }
  return "?";
}

std::string ExePathOf(Side side) {
#ifdef BENCH_REFERENCE_EXE_UNIX
  if (side == Side::Reference) return vt::WindowsPathFromUnix(BENCH_REFERENCE_EXE_UNIX);
#endif
#ifdef BENCH_THEMED_REFERENCE_EXE_UNIX
  if (side == Side::Themed) return vt::WindowsPathFromUnix(BENCH_THEMED_REFERENCE_EXE_UNIX);
#endif
  return side == Side::Vantisk ? vt::VantiskExePath() : std::string();
}

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

std::unique_ptr<RunningProgram> RunningProgram::Start(Side side) {
  std::unique_ptr<RunningProgram> program(new RunningProgram(side));
  if (!program->Launch()) return nullptr;
  return program;
}

bool RunningProgram::Launch() {
  const double start = NowMs();
  if (!process_.Start(ExePathOf(side_))) return false;
  const char* windowClass = WindowClassOf(side_);
  const DWORD pid = process_.Pid();
  if (!vt::WaitUntil([&] { return (window_ = VisibleWindowOf(windowClass, pid)) != nullptr; },
                     kShowTimeoutMs, kStartPollMs)) {
    return false;
  }
  startupMs_ = NowMs() - start;
  const std::string exeName = FileNameOf(ExePathOf(side_));
  vt::WaitUntil([&] { return (unix_ = UnixProcess::Find(exeName)).has_value(); }, kFindUnixTimeoutMs, 50);
  return unix_.has_value();
}

RunningProgram::~RunningProgram() { Stop(); }

void RunningProgram::Stop() {
  if (!process_.IsRunning()) return;
  if (side_ == Side::Vantisk) {
    vt::PressChord({VK_MENU, 'E'});
  } else {
    PostMessageW(window_, WM_CLOSE, 0, 0);
  }
  if (!process_.WaitForExit(kExitTimeoutMs)) process_.Terminate();
}

std::optional<CpuSample> RunningProgram::Cpu() const { return unix_ ? unix_->Cpu() : std::nullopt; }

std::optional<std::size_t> RunningProgram::WaitForMirror(std::size_t lengthBefore, std::size_t length,
                                                         DWORD timeoutMs) const {
  if (side_ != Side::Vantisk) return length;
  // The length only: the text itself may be megabytes to copy across. The
  // program answers only once it has set the text, so a changed length is
  // the whole change.
  const HWND box = vt::Control(window_, vantisk::form2_ids::Text1);
  std::size_t shown = lengthBefore;
  const bool changed = vt::WaitUntil(
      [&] {
        const std::optional<LRESULT> answer = vt::SendTimed(box, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
        shown = answer ? static_cast<std::size_t>(*answer) : lengthBefore;
        return shown == length || (shown != lengthBefore && shown > 0);
      },
      timeoutMs, 50);
  return changed ? std::optional<std::size_t>(shown) : std::nullopt;
}

bool RunningProgram::WaitResponsive(DWORD timeoutMs) const { return vt::Responds(window_, timeoutMs); }

}  // namespace bench
