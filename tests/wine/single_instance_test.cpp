// One Vantisk per session: a second start wakes the first and leaves.
#include "vantisk_fixture.h"

namespace vt {
namespace {

class SingleInstance : public VantiskTest {};

int WindowsOfClass(const char* className) {
  int count = 0;
  for (HWND window : TopWindows(0)) count += ClassName(window) == className;
  return count;
}

TEST_F(SingleInstance, ASecondStartShowsTheRunningMonitorAndExits) {
  Start();
  ASSERT_TRUE(PostMessageW(monitor, WM_CLOSE, 0, 0));
  ASSERT_TRUE(WaitUntil([this] { return !IsVisible(monitor); }, 3000));
  const size_t icons = TrayIconWindows().size();

  VantiskProcess second;
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(second.WaitForExit(10000)) << "the second start must not stay";
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(app.IsRunning());
  EXPECT_TRUE(WaitUntil([this] { return IsVisible(monitor); }, 3000)) << "the running monitor comes into view";
  EXPECT_EQ(WindowsOfClass(vantisk::form2_ids::kClassName), 1);
  EXPECT_EQ(WindowsOfClass(vantisk::fload_ids::kClassName), 1) << "one set of hotkeys";
  EXPECT_EQ(TrayIconWindows().size(), icons);

  // The hotkeys still belong to the first instance.
  PutOnClipboard("https://once.example/");
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'S'}));
  EXPECT_EQ(WaitForLaunches(1, 5000).size(), 1u);
  PumpFor(500);
  EXPECT_EQ(Launches().size(), 1u);
}

}  // namespace
}  // namespace vt
