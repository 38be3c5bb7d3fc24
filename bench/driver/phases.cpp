#include "driver/phases.h"

#include <cstdio>
#include <memory>

#include "driver/front_window.h"
#include "driver/launch_log.h"
#include "driver/programs.h"
#include "driver/system_time.h"
#include "harness/clipboard.h"
#include "toolkit/handles.h"
#include "harness/input.h"
#include "harness/popup_menu.h"
#include "harness/registry.h"
#include "harness/process.h"
#include "harness/browser.h"
#include "harness/text.h"
#include "harness/wait.h"
#include "checkers/check_target.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr DWORD kSmallMirrorMs = 15000;
constexpr DWORD kBigMirrorMs = 180000;
constexpr DWORD kResponsiveMs = 120000;
constexpr DWORD kLaunchTimeoutMs = 20000;
// Memory is sampled often while a program takes in a text, where its peak
// is, and seldom in a window, so that the sampling adds little to what is
// measured there.
constexpr DWORD kBusySampleMs = 50;
constexpr DWORD kRestSampleMs = 500;
// The themed reference has nothing of its own to launch: its launch would be the bare one's.
constexpr Side kSides[] = {Side::Vantisk, Side::Reference, Side::Themed};
constexpr Side kLaunchSides[] = {Side::Vantisk, Side::Reference};

// Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about
// "literal" + std::string.
std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

void Problem(Figures& figures, const std::string& text) {
  figures.problems.push_back(text);
  Progress("  problem: " + text);
}

bool Settle(const RunningProgram& program, const Options& options) {
  if (!program.WaitResponsive(kResponsiveMs)) return false;
  vt::PumpFor(static_cast<DWORD>(options.settleSeconds) * 1000);
  return true;
}

struct RestWindow {
  double cpuPerMinute = 0;
  std::optional<double> serverPerMinute;
};

std::optional<RestWindow> MeasureWindow(const RunningProgram& program, int seconds, MemoryPeak& peak) {
  const std::optional<UnixProcess> server = UnixProcess::FindWineServer();
  const std::optional<CpuSample> serverBefore = server ? server->Cpu() : std::nullopt;
  const std::optional<CpuSample> before = program.Cpu();
  const double start = NowMs();
  {
    const PeakSampler sampler(program.Pid(), peak, kRestSampleMs);
    vt::PumpFor(static_cast<DWORD>(seconds) * 1000);
  }
  const std::optional<CpuSample> after = program.Cpu();
  const std::optional<CpuSample> serverAfter = server ? server->Cpu() : std::nullopt;
  const double minutes = (NowMs() - start) / 60000.0;
  if (!before || !after) return std::nullopt;
  RestWindow window{CpuBetween(*before, *after) / minutes, std::nullopt};
  if (serverBefore && serverAfter) window.serverPerMinute = CpuBetween(*serverBefore, *serverAfter) / minutes;
  return window;
}

struct RestSeries {
  Series& cpu;
  Series& server;
  Series& peakPrivate;
  Series& workingSet;
};

void AddWindow(Side side, const RestWindow& window, const MemoryPeak& peak, RestSeries into) {
  into.cpu.Add(side, window.cpuPerMinute);
  if (window.serverPerMinute) into.server.Add(side, *window.serverPerMinute);
  into.peakPrivate.Add(side, peak.privateBytes / kMiB);
  into.workingSet.Add(side, peak.workingSet / kMiB);
}

// The first half of a round at rest: started with the small clipboard, measured
// first as it starts, its own window in front, then with another program in
// front, as it rests while the user works elsewhere.
bool RestSmall(const RunningProgram& program, const Options& options, const Texts& texts, FrontWindow& front,
               Figures& figures) {
  const std::string name = NameOf(program.Which());
  MemoryPeak memory;
  {
    const PeakSampler sampler(program.Pid(), memory, kBusySampleMs);
    if (!program.WaitForMirror(0, texts.small.size(), kSmallMirrorMs) || !Settle(program, options)) {
      Problem(figures, name + " did not settle with the small clipboard");
      return false;
    }
  }
  const std::optional<RestWindow> inFront = MeasureWindow(program, options.seconds, memory);
  if (!front.BringToFront()) {
    Problem(figures, "the driver's window did not come to the front");
    return false;
  }
  vt::PumpFor(static_cast<DWORD>(options.settleSeconds) * 1000);
  const std::optional<RestWindow> behind = MeasureWindow(program, options.seconds, memory);
  if (!inFront || !behind) {
    Problem(figures, name + ": no CPU figures");
    return false;
  }
  figures.cpuSmallFront.Add(program.Which(), inFront->cpuPerMinute);
  if (inFront->serverPerMinute) figures.serverSmallFront.Add(program.Which(), *inFront->serverPerMinute);
  AddWindow(program.Which(), *behind, memory,
            {figures.cpuSmall, figures.serverSmall, figures.privateSmall, figures.workingSmall});
  return true;
}

// The second half: the big text put on the clipboard while it runs.
void RestBig(const RunningProgram& program, const Options& options, const Texts& texts, Figures& figures) {
  const Side side = program.Which();
  const std::string name = NameOf(side);
  MemoryPeak memory;
  {
    const PeakSampler sampler(program.Pid(), memory, kBusySampleMs);
    if (!vt::SetClipboardText(texts.big)) return Problem(figures, "could not set the big clipboard");
    const double set = NowMs();
    const std::optional<std::size_t> shown = program.WaitForMirror(texts.small.size(), texts.big.size(), kBigMirrorMs);
    if (!shown) return Problem(figures, name + " did not show the big clipboard");
    if (side == Side::Vantisk) {
      figures.mirrorBigMs.Add(side, NowMs() - set);
      figures.bigShownChars = *shown;
    }
    if (!Settle(program, options)) return Problem(figures, name + " did not settle with the big clipboard");
  }
  const std::optional<RestWindow> window = MeasureWindow(program, options.seconds, memory);
  if (!window) return Problem(figures, name + ": no CPU figures");
  AddWindow(side, *window, memory, {figures.cpuBig, figures.serverBig, figures.privateBig, figures.workingBig});
  figures.restPrivateBig.Add(side, memory.lastPrivateBytes / kMiB);
}

// One program at rest: first with the small clipboard, then with the big one.
void RestRound(Side side, const Options& options, const Texts& texts, FrontWindow& front, Figures& figures) {
  if (!vt::SetClipboardText(texts.small)) return Problem(figures, "could not set the clipboard");
  const std::unique_ptr<RunningProgram> program = RunningProgram::Start(side);
  if (!program) return Problem(figures, std::string(NameOf(side)) + " did not start");
  figures.startupMs.Add(side, program->StartupMs());
  if (RestSmall(*program, options, texts, front, figures)) RestBig(*program, options, texts, figures);
}

bool ClearLaunchLog() {
  return DeleteFileW(kBenchLaunchLog) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::optional<Launch> WaitForLaunch() {
  std::vector<Launch> launches;
  vt::WaitUntil([&] { return !(launches = ParseLaunchLog(vt::ReadWholeFile(kBenchLaunchLog))).empty(); }, kLaunchTimeoutMs, 5);
  if (launches.empty()) return std::nullopt;
  return launches.front();
}

// Milliseconds from `requested` (system clock ticks) to the browser's start:
// a fresh process's first check into the first-check series, a later one into
// the warm series.
void RecordLaunch(Side side, std::uint64_t requested, bool warm, const Texts& texts, Figures& figures) {
  const std::optional<Launch> launch = WaitForLaunch();
  if (!launch) return Problem(figures, std::string(NameOf(side)) + ": no browser launch");
  if (launch->argument != texts.expectedTarget) {
    Problem(figures, std::string(NameOf(side)) + " launched \"" + launch->argument + "\"");
  }
  const auto ms = [requested](std::uint64_t ticks) {
    return (static_cast<double>(ticks) - static_cast<double>(requested)) / 10000.0;
  };
  if (warm) {
    figures.launchWarmCreatedMs.Add(side, ms(launch->created));
    return;
  }
  figures.launchCreatedMs.Add(side, ms(launch->created));
  figures.launchStartedMs.Add(side, ms(launch->started));
}

// Vantisk's check, pressed as a user would: Ctrl+Alt+S, twice in the same
// process: its first check, then a warm one.
void VantiskLaunch(const Options& options, const Texts& texts, Figures& figures) {
  if (!vt::SetClipboardText(texts.small)) return Problem(figures, "could not set the clipboard");
  const std::unique_ptr<RunningProgram> program = RunningProgram::Start(Side::Vantisk);
  if (!program || !program->WaitForMirror(0, texts.small.size(), kSmallMirrorMs) || !Settle(*program, options)) {
    return Problem(figures, "Vantisk did not get ready for a check");
  }
  for (const bool warm : {false, true}) {
    if (warm && !Settle(*program, options)) return Problem(figures, "Vantisk did not settle after a check");
    if (!ClearLaunchLog()) return Problem(figures, "could not clear the launch log");
    const std::uint64_t requested = SystemTimeNow();
    if (!vt::PressChord({VK_CONTROL, VK_MENU, 'S'})) return Problem(figures, "SendInput failed");
    RecordLaunch(Side::Vantisk, requested, warm, texts, figures);
  }
}


// The reference's two launches, each started by an event once its process
// is ready for it.
void ReferenceLaunch(const Options& options, const Texts& texts, Figures& figures) {
  const std::string name = "Local\\VantiskBench." + std::to_string(GetCurrentProcessId()) + ".go";
  const tk::UniqueHandle go = NewEvent(name), ready = NewEvent(name + ".ready");
  vt::VantiskProcess process;
  if (!go || !ready ||
      !process.Start(ExePathOf(Side::Reference),
                     "--launch " + Quoted(texts.expectedTarget) + " --go " + name + " --again")) {
    return Problem(figures, "the reference did not start for its launches");
  }
  for (const bool warm : {false, true}) {
    if (WaitForSingleObject(ready.get(), kLaunchTimeoutMs) != WAIT_OBJECT_0) {
      process.Terminate();
      return Problem(figures, "the reference did not get ready for its launch");
    }
    vt::PumpFor(static_cast<DWORD>(options.settleSeconds) * 1000);
    if (!ClearLaunchLog()) return Problem(figures, "could not clear the launch log");
    const std::uint64_t requested = SystemTimeNow();
    SetEvent(go.get());
    RecordLaunch(Side::Reference, requested, warm, texts, figures);
  }
  if (!process.WaitForExit(kLaunchTimeoutMs) || process.ExitCode() != 0u) {
    Problem(figures, "the reference's ShellExecuteA did not succeed");
  }
}

void LaunchRound(Side side, const Options& options, const Texts& texts, Figures& figures) {
  if (side == Side::Vantisk) {
    VantiskLaunch(options, texts, figures);
  } else {
    ReferenceLaunch(options, texts, figures);
  }
}

void StartupRound(Side side, const Texts& texts, Figures& figures) {
  if (!vt::SetClipboardText(texts.small)) return Problem(figures, "could not set the clipboard");
  const std::unique_ptr<RunningProgram> program = RunningProgram::Start(side);
  if (!program) return Problem(figures, std::string(NameOf(side)) + " did not start");
  figures.startupMs.Add(side, program->StartupMs());
  // Ended only once start-up is over, as a user would find it.
  program->WaitResponsive(kResponsiveMs);
}

// A 64 KiB address whose host has 32,000 labels: the most work the site's
// name and the name inside it can take. The checker is given the site alone,
// so the page stays short enough for Wine's shell.
constexpr char kLongChecker[] = "https://c.example/{domain}";
constexpr char kLongTarget[] = "https://c.example/a.com";
constexpr std::size_t kLongAddressLabels = 32000;
constexpr std::size_t kLongAddressesInText = 16;

std::string LongAddress() {
  std::string address = "https://";
  for (std::size_t i = 0; i < kLongAddressLabels; ++i) address += "a.";
  return address + "com/";
}

// Shows `text` on the clipboard and waits until Vantisk has it and is idle.
bool OfferText(const RunningProgram& program, const Options& options, std::size_t lengthBefore,
               const std::string& text) {
  return vt::SetClipboardText(text) && program.WaitForMirror(lengthBefore, text.size(), kBigMirrorMs) &&
         Settle(program, options);
}

// One fresh Vantisk: the long address to the browser, then the text of many
// until their menu shows (closed with Esc).
void LongCheckRound(const Options& options, const Texts& texts, const std::string& address, const std::string& text,
                    Figures& figures) {
  if (!vt::SetClipboardText(texts.small)) return Problem(figures, "could not set the clipboard");
  const std::unique_ptr<RunningProgram> program = RunningProgram::Start(Side::Vantisk);
  if (!program || !program->WaitForMirror(0, texts.small.size(), kSmallMirrorMs) ||
      !OfferText(*program, options, texts.small.size(), address) || !ClearLaunchLog()) {
    return Problem(figures, "Vantisk did not get ready for the long address");
  }
  const std::uint64_t requested = SystemTimeNow();
  if (!vt::PressChord({VK_CONTROL, VK_MENU, 'S'})) return Problem(figures, "SendInput failed");
  const std::optional<Launch> launch = WaitForLaunch();
  if (!launch) return Problem(figures, "Vantisk: no browser launch for the long address");
  if (launch->argument != kLongTarget) Problem(figures, "Vantisk launched \"" + launch->argument + "\"");
  figures.longAddressMs.Add(Side::Vantisk, (static_cast<double>(launch->created) - static_cast<double>(requested)) / 1e4);

  if (!OfferText(*program, options, address.size(), text)) {
    return Problem(figures, "Vantisk did not get ready for the text of long addresses");
  }
  const double pressed = NowMs();
  if (!vt::PressChord({VK_CONTROL, VK_MENU, 'S'})) return Problem(figures, "SendInput failed");
  if (!vt::FindPopupMenu(kLaunchTimeoutMs, program->Pid())) {
    return Problem(figures, "Vantisk showed no menu for the text of long addresses");
  }
  figures.longTextMenuMs.Add(Side::Vantisk, NowMs() - pressed);
  if (!vt::PressChord({VK_ESCAPE}) || !program->WaitResponsive(kResponsiveMs)) {
    Problem(figures, "Vantisk did not close the menu");
  }
}

}  // namespace

void MeasureLongChecks(const Options& options, const Texts& texts, Figures& figures) {
  const std::string address = LongAddress();
  // Each address of the text differs in its first label: the same address
  // twice is offered once.
  std::string text = address;
  for (std::size_t i = 1; i < kLongAddressesInText; ++i) text += " https://p" + std::to_string(i) + address.substr(8);
  if (!vt::SetSetting("default", "selectedchecker", kLongChecker)) return Problem(figures, "could not set the checker");
  for (int round = 1; round <= options.longChecks; ++round) {
    Progress("long-address round " + std::to_string(round) + "/" + std::to_string(options.longChecks));
    LongCheckRound(options, texts, address, text, figures);
  }
  if (!vt::ClearSettings()) Problem(figures, "could not clear the settings");
}

void Progress(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

Texts MakeTexts(const Options& options) {
  Texts texts{UrlText(options.smallClipboardBytes), ProseText(options.bigClipboardBytes), {}};
  // The text is one plain address already: the check sends it as it stands.
  const vantisk::CheckResult check = vantisk::BuildCheckTarget(vantisk::kDefaultCheckerUrl, texts.small, "example.com");
  texts.expectedTarget = check.target;
  return texts;
}

bool RegisterBenchRecorder() {
#ifdef BENCH_RECORDER_EXE_UNIX
  return vt::RegisterBrowser(vt::WindowsPathFromUnix(BENCH_RECORDER_EXE_UNIX));
#else
  return false;
#endif
}

void WarmUp(const Options& options, const Texts& texts, Figures& figures) {
  Progress("warm-up: first starts and launches of this prefix (not recorded)");
  Figures ignored;
  for (Side side : kSides) StartupRound(side, texts, ignored);
  for (Side side : kLaunchSides) LaunchRound(side, options, texts, ignored);
  for (const std::string& problem : ignored.problems) figures.problems.push_back("warm-up: " + problem);
}

void MeasureStartups(const Options& options, const Texts& texts, Figures& figures) {
  for (int round = 1; round <= options.checks; ++round) {
    Progress("start-up round " + std::to_string(round) + "/" + std::to_string(options.checks));
    for (Side side : kSides) StartupRound(side, texts, figures);
  }
}

void MeasureLaunches(const Options& options, const Texts& texts, Figures& figures) {
  for (int round = 1; round <= options.checks; ++round) {
    Progress("launch round " + std::to_string(round) + "/" + std::to_string(options.checks));
    for (Side side : kLaunchSides) LaunchRound(side, options, texts, figures);
  }
}

void MeasureAtRest(const Options& options, const Texts& texts, Figures& figures) {
  FrontWindow front;
  for (int round = 1; round <= options.rounds; ++round) {
    for (Side side : kSides) {
      Progress("at-rest round " + std::to_string(round) + "/" + std::to_string(options.rounds) + ": " +
               NameOf(side));
      RestRound(side, options, texts, front, figures);
    }
  }
}

tk::UniqueHandle NewEvent(const std::string& name) {
  return tk::UniqueHandle(CreateEventW(nullptr, FALSE, FALSE, vt::Widen(name).c_str()));
}

}  // namespace bench
