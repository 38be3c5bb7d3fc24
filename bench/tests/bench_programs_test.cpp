// The driver's measuring parts under Wine. Each of them can go wrong without
// any error: a wrong process found, a clock off by hours, a sampler that
// sleeps through the peak all still print a table, so they are checked here
// against things the test controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/launch_log.h"
#include "driver/phases.h"
#include "driver/programs.h"
#include "driver/system_time.h"
#include "driver/unix_view.h"
#include "harness/clipboard.h"
#include "harness/process.h"
#include "harness/text.h"
#include "harness/wait.h"

namespace bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string ThisExeFileName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string full = vt::Narrow(path);
  return full.substr(full.find_last_of("\\/") + 1);
}

void Spin(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  volatile unsigned counter = 0;
  while (GetTickCount64() < end) counter = counter + 1;
}

std::vector<Launch> LoggedLaunches() { return ParseLaunchLog(vt::ReadWholeFile(kBenchLaunchLog)); }

class Recorded : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RegisterBenchRecorder());
    DeleteFileW(kBenchLaunchLog);
  }
};

TEST(UnixView, FindsThisVeryProcessAndCountsItsCpuTimeOnce) {
  const std::optional<UnixProcess> self = UnixProcess::Find(ThisExeFileName());
  ASSERT_TRUE(self) << "the Unix process behind " << ThisExeFileName();
  const ULONGLONG start = GetTickCount64();
  const std::optional<CpuSample> before = self->Cpu();
  Spin(300);
  const std::optional<CpuSample> after = self->Cpu();
  const double wallSeconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
  ASSERT_TRUE(before && after);
  EXPECT_FALSE(before->threads.empty());
  // Another (idle) process would show next to nothing; counting a thread
  // twice would show more than the time that passed. The machine may be
  // busy, so the spin may not get all of its 300 ms.
  EXPECT_GT(CpuBetween(*before, *after), 0.05);
  EXPECT_LE(CpuBetween(*before, *after), wallSeconds + 0.02);
}

TEST(UnixView, AnExeNotRunningIsNotFoundAndTheWineServerIs) {
  EXPECT_FALSE(UnixProcess::Find("no-such-program.exe"));
  const std::optional<UnixProcess> server = UnixProcess::FindWineServer();
  ASSERT_TRUE(server);
  EXPECT_TRUE(server->Cpu());
}

TEST(PeakSampler, CatchesAPeakWhileTheMeasuredProcessIsBusy) {
  MemoryPeak memory;
  double before = 0;
  {
    const PeakSampler sampler(GetCurrentProcessId(), memory, 20);
    before = memory.privateBytes;
    // Busy in one go, as a program setting a big text is: 64 MiB touched,
    // held for a moment and given back, with no message answered meanwhile.
    auto block = std::make_unique<char[]>(64u << 20);
    for (size_t at = 0; at < (64u << 20); at += 4096) block[at] = 1;
    Spin(300);
  }
  EXPECT_GT(memory.privateBytes - before, 60 * kMiB);
  EXPECT_LT(memory.lastPrivateBytes, memory.privateBytes - 60 * kMiB) << "the last sample is after the free";
}

TEST_F(Recorded, TheRecorderStampsItsStartOnTheDriversClock) {
  const std::uint64_t before = SystemTimeNow();
  vt::VantiskProcess recorder;
  ASSERT_TRUE(recorder.Start(vt::WindowsPathFromUnix(BENCH_RECORDER_EXE_UNIX), "\"https://a.example/?q=1 2\""));
  ASSERT_TRUE(recorder.WaitForExit(10000));
  const std::uint64_t after = SystemTimeNow();
  const std::vector<Launch> launches = LoggedLaunches();
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].argument, "https://a.example/?q=1 2") << "the %1 quotes are not part of it";
  EXPECT_LE(before, launches[0].created);
  EXPECT_LE(launches[0].created, launches[0].started);
  EXPECT_LE(launches[0].started, after);
}

TEST_F(Recorded, TheReferenceLaunchesItsTargetOnlyOnTheGo) {
  const std::string name = "Local\\VantiskBenchTest.go";
  const tk::UniqueHandle go = NewEvent(name);
  const tk::UniqueHandle ready = NewEvent(name + ".ready");
  vt::VantiskProcess reference;
  ASSERT_TRUE(reference.Start(ExePathOf(Side::Reference), "--launch \"https://b.example/x\" --go " + name));
  ASSERT_EQ(WaitForSingleObject(ready.get(), 10000), WAIT_OBJECT_0);
  vt::PumpFor(500);
  EXPECT_TRUE(LoggedLaunches().empty()) << "launched before the go";
  ASSERT_TRUE(SetEvent(go.get()));
  ASSERT_TRUE(reference.WaitForExit(10000));
  EXPECT_EQ(reference.ExitCode(), 0u);
  ASSERT_TRUE(vt::WaitUntil([] { return !LoggedLaunches().empty(); }, 10000));
  EXPECT_EQ(LoggedLaunches()[0].argument, "https://b.example/x");
}

TEST_F(Recorded, TheReferenceLaunchesASecondTimeOnASecondGo) {
  const std::string name = "Local\\VantiskBenchTest.again";
  const tk::UniqueHandle go = NewEvent(name);
  const tk::UniqueHandle ready = NewEvent(name + ".ready");
  vt::VantiskProcess reference;
  ASSERT_TRUE(reference.Start(ExePathOf(Side::Reference), "--launch \"https://c.example/\" --go " + name + " --again"));
  for (size_t launches = 1; launches <= 2; ++launches) {
    ASSERT_EQ(WaitForSingleObject(ready.get(), 10000), WAIT_OBJECT_0) << launches;
    ASSERT_TRUE(SetEvent(go.get()));
    ASSERT_TRUE(vt::WaitUntil([&] { return LoggedLaunches().size() == launches; }, 10000)) << launches;
  }
  ASSERT_TRUE(reference.WaitForExit(10000));
  EXPECT_EQ(reference.ExitCode(), 0u);
}

TEST(Reference, AWrongCommandLineLaunchesNothing) {
  for (const std::string arguments :
       {"--launch", "--open x", "--launch x --go", "--launch x --wait y", "--launch x --go y --twice"}) {
    vt::VantiskProcess reference;
    ASSERT_TRUE(reference.Start(ExePathOf(Side::Reference), arguments));
    ASSERT_TRUE(reference.WaitForExit(10000)) << arguments;
    EXPECT_EQ(reference.ExitCode(), 64u) << arguments;
  }
}

TEST(RunningProgram, TheReferenceShowsItsWindowAndIsClosedWhenItGoes) {
  const ULONGLONG before = GetTickCount64();
  std::unique_ptr<RunningProgram> reference = RunningProgram::Start(Side::Reference);
  const double wallMs = static_cast<double>(GetTickCount64() - before);
  ASSERT_TRUE(reference);
  EXPECT_TRUE(IsWindowVisible(reference->Window()));
  EXPECT_GT(reference->StartupMs(), 0);
  EXPECT_LE(reference->StartupMs(), wallMs + 20) << "milliseconds, within the time Start took";
  EXPECT_TRUE(reference->Cpu()) << "its Unix process was found";
  const tk::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, reference->Pid()));
  reference.reset();
  EXPECT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
}

TEST(RunningProgram, TheThemedReferenceShowsItsWindowWithOneButton) {
  std::unique_ptr<RunningProgram> themed = RunningProgram::Start(Side::Themed);
  ASSERT_TRUE(themed);
  EXPECT_TRUE(IsWindowVisible(themed->Window()));
  HWND button = FindWindowExW(themed->Window(), nullptr, L"Button", nullptr);
  EXPECT_NE(button, nullptr);
  EXPECT_EQ(FindWindowExW(themed->Window(), button, nullptr, nullptr), nullptr) << "one control only";
}

TEST(RunningProgram, VantiskIsSeenToTakeInANewClipboardTextOnlyOnceItHasIt) {
  ASSERT_TRUE(vt::SetClipboardText(UrlText(100)));
  std::unique_ptr<RunningProgram> vantisk = RunningProgram::Start(Side::Vantisk);
  ASSERT_TRUE(vantisk);
  EXPECT_EQ(vantisk->WaitForMirror(0, 100, 10000), 100u);
  const std::string big = ProseText(300000);
  ASSERT_TRUE(vt::SetClipboardText(big));
  const std::optional<std::size_t> shown = vantisk->WaitForMirror(100, big.size(), 60000);
  ASSERT_TRUE(shown);
  EXPECT_GT(*shown, 100u);
  EXPECT_LE(*shown, big.size());
  vantisk.reset();
  EXPECT_FALSE(UnixProcess::Find("Vantisk.exe"));
}

// The phases end to end, short: one sample each, and no problem reported.
class Phases : public Recorded {
 protected:
  Phases() {
    options.rounds = 1;
    options.checks = 1;
    options.seconds = 1;
    options.settleSeconds = 0;
    options.bigClipboardBytes = 300000;
  }
  static void ExpectOneEach(const Series& series, const char* what) {
    EXPECT_EQ(series.vantisk.size(), 1u) << what;
    EXPECT_EQ(series.reference.size(), 1u) << what;
  }
  Options options;
  Figures figures;
};

TEST_F(Phases, LaunchesAreTimedForBothAndTheTargetIsTheOneVantiskBuilds) {
  const Texts texts = MakeTexts(options);
  MeasureLaunches(options, texts, figures);
  EXPECT_TRUE(figures.problems.empty()) << figures.problems.front();
  ExpectOneEach(figures.launchCreatedMs, "created");
  ExpectOneEach(figures.launchStartedMs, "started");
  ExpectOneEach(figures.launchWarmCreatedMs, "warm");
  for (const std::vector<double>* side : {&figures.launchCreatedMs.vantisk, &figures.launchCreatedMs.reference}) {
    EXPECT_GT(side->front(), 0) << "a browser created before it was asked for: clocks disagree";
    EXPECT_LT(side->front(), 10000);
  }
  EXPECT_GE(figures.launchStartedMs.vantisk.front(), figures.launchCreatedMs.vantisk.front());
}

TEST_F(Phases, ALaunchOfAnotherTargetThanExpectedIsReportedAsAProblem) {
  Texts texts = MakeTexts(options);
  // The reference is handed this target itself; Vantisk builds its own.
  texts.expectedTarget += "x";
  MeasureLaunches(options, texts, figures);
  ASSERT_EQ(figures.problems.size(), 2u) << "its first check and its warm one";
  for (const std::string& problem : figures.problems) {
    EXPECT_NE(problem.find("Vantisk launched"), std::string::npos) << problem;
  }
  EXPECT_EQ(figures.launchCreatedMs.vantisk.size(), 1u) << "still timed";
  EXPECT_EQ(figures.launchWarmCreatedMs.vantisk.size(), 1u);
}

TEST_F(Phases, ARoundAtRestFillsEveryFigureOfBothPrograms) {
  const Texts texts = MakeTexts(options);
  MeasureAtRest(options, texts, figures);
  EXPECT_TRUE(figures.problems.empty()) << figures.problems.front();
  ExpectOneEach(figures.startupMs, "start-up");
  EXPECT_EQ(figures.startupMs.themed.size(), 1u) << "the themed reference is measured too";
  EXPECT_EQ(figures.privateSmall.themed.size(), 1u);
  ExpectOneEach(figures.cpuSmall, "cpu");
  ExpectOneEach(figures.cpuBig, "cpu, big");
  ExpectOneEach(figures.privateBig, "private bytes, big");
  ExpectOneEach(figures.restPrivateBig, "private bytes at rest, big");
  EXPECT_EQ(figures.mirrorBigMs.vantisk.size(), 1u);
  EXPECT_TRUE(figures.mirrorBigMs.reference.empty()) << "the reference mirrors nothing";
  EXPECT_GT(figures.bigShownChars, 100u);
  EXPECT_GE(figures.privateBig.vantisk.front(), figures.restPrivateBig.vantisk.front()) << "a peak below the end";
}

}  // namespace
}  // namespace bench
