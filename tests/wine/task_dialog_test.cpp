// The question with buttons that say what they do, asked in process where the
// system has no task dialog to show: the test program loads no common
// controls of the version that has them, so a message box asks instead.
#include <gtest/gtest.h>

#include <future>

#include "harness/message_box.h"
#include "harness/wait.h"
#include "toolkit/task_dialog.h"

namespace vt {
namespace {

enum { kSiteOnly = 100, kWholeAddress, kCancel };

// Enter pressed in the box: the key goes to the control that has the focus
// in the box's thread, as the keyboard would send it.
bool PressEnter(HWND box) {
  GUITHREADINFO focus{};
  focus.cbSize = sizeof focus;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &focus) || !focus.hwndFocus) return false;
  return PostMessageW(focus.hwndFocus, WM_KEYDOWN, VK_RETURN, 1) && PostMessageW(focus.hwndFocus, WM_KEYUP, VK_RETURN, 0xC0000001);
}

TEST(MessageBoxQuestion, SaysWhatEachButtonStandsForAndEnterCancels) {
  std::future<int> answer = std::async(std::launch::async, [] {
    return tk::AskWithButtons(nullptr, "This link looks private", "The address holds a key.",
                              {{kSiteOnly, "Check the site only"},
                               {kWholeAddress, "Check the whole address"},
                               {kCancel, "Cancel"}},
                              kCancel);
  });
  const std::optional<MessageBoxInfo> box = FindMessageBox(GetCurrentProcessId(), 5000);
  ASSERT_TRUE(box.has_value());
  EXPECT_NE(box->text.find("Yes: Check the site only\nNo: Check the whole address\nCancel: Cancel"), std::string::npos)
      << box->text;
  EXPECT_EQ(box->buttons, (std::vector<std::string>{"Yes", "No", "Cancel"}));
  EXPECT_EQ(box->defaultButton, "Cancel");
  ASSERT_TRUE(PressEnter(box->hwnd));
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(answer.get(), kCancel);
}

// The first button stays the answer it stands for: Yes is the site only.
TEST(MessageBoxQuestion, EachButtonGivesItsOwnAnswer) {
  for (const auto& [button, expected] : {std::pair{"Yes", kSiteOnly}, {"No", kWholeAddress}, {"Cancel", kCancel}}) {
    SCOPED_TRACE(button);
    std::future<int> answer = std::async(std::launch::async, [] {
      return tk::AskWithButtons(nullptr, "Question", "Which?",
                                {{kSiteOnly, "Site"}, {kWholeAddress, "Whole"}, {kCancel, "Cancel"}}, kCancel);
    });
    const std::optional<MessageBoxInfo> box = FindMessageBox(GetCurrentProcessId(), 5000);
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(PressMessageBoxButton(*box, button));
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(answer.get(), expected);
  }
}

}  // namespace
}  // namespace vt
