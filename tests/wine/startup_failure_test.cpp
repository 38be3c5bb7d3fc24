// A window that cannot be created at start-up is reported, and the program
// ends with an error code instead of running on without it.
#include "vantisk_fixture.h"

#include "harness/paths.h"
#include "harness/text.h"
#include "harness/handles.h"

namespace vt {
namespace {

class StartupFailure : public VantiskTest {};

TEST_F(StartupFailure, AMonitorWindowThatCannotBeCreatedIsReportedAndEndsTheProgram) {
  const HMODULE refuser = LoadLibraryW(Widen(WindowsPathFromUnix(WINDOW_REFUSER_DLL_UNIX)).c_str());
  ASSERT_NE(refuser, nullptr);
  const auto refuse = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(refuser, "VantiskRefuseMonitorWindow")));
  ASSERT_NE(refuse, nullptr);
  {
    // For every thread of the desktop: the system loads the DLL into the program.
    const vt::UniqueHook hook(SetWindowsHookExW(WH_CBT, refuse, refuser, 0));
    ASSERT_TRUE(hook);
    ASSERT_TRUE(app.Start());
    MessageBoxInfo box = ExpectMessageBox(kStartTimeoutMs);
    EXPECT_NE(box.text.find("Vantisk could not start."), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("\"Vantisk By Tessanor LTD - Clipboard URL monitor\" could not be created"),
              std::string::npos)
        << box.text;
    EXPECT_EQ(box.title, "Vantisk");
    ASSERT_TRUE(DismissMessageBox(box.hwnd));
    ASSERT_TRUE(app.WaitForExit(5000)) << "the program runs on without its window";
    EXPECT_EQ(app.ExitCode(), 1u);
  }
  // It held the single-instance lock no longer than it ran.
  app = VantiskProcess();
  Start();
}

}  // namespace
}  // namespace vt
