// The monitor's change detection on its own: a tick reads the clipboard once
// per change, whether the system tells a listening window of each change or the
// sequence number has to be compared, and a read that failed is tried again.
#include <gtest/gtest.h>
#include <windows.h>

#include "harness/clipboard.h"
#include "harness/handles.h"
#include "harness/wait.h"
#include "toolkit/clipboard.h"

namespace {

// A hidden window that hands its clipboard updates to a watch.
class ListeningWindow {
 public:
  explicit ListeningWindow(tk::ClipboardWatch& watch) {
    static const ATOM registered = RegisterListenerClass();
    if (!registered) return;
    window_.reset(CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
  }
  HWND get() const { return window_.get(); }

 private:
  static constexpr char kClassName[] = "ClipboardWatchTest";

  static ATOM RegisterListenerClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass);
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLIPBOARDUPDATE) {
      reinterpret_cast<tk::ClipboardWatch*>(GetWindowLongPtrA(window, GWLP_USERDATA))->OnUpdate();
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  vt::UniqueWindow window_;
};

// Lets the system deliver the updates of changes made so far.
void Deliver() { vt::PumpFor(300); }

void ExpectOneChangePerChange(tk::ClipboardWatch& watch) {
  EXPECT_TRUE(watch.TakeChange()) << "the first look always reads";
  EXPECT_FALSE(watch.TakeChange());

  ASSERT_TRUE(vt::SetClipboardText("https://one.example/"));
  Deliver();
  EXPECT_TRUE(watch.TakeChange());
  EXPECT_FALSE(watch.TakeChange()) << "one change is taken once";

  ASSERT_TRUE(vt::SetClipboardText("https://two.example/"));
  ASSERT_TRUE(vt::SetClipboardText("https://three.example/"));
  Deliver();
  EXPECT_TRUE(watch.TakeChange());
  EXPECT_FALSE(watch.TakeChange()) << "changes between two looks are read once";

  watch.GiveBack();
  EXPECT_TRUE(watch.TakeChange()) << "a change that could not be read is read at the next look";
  EXPECT_FALSE(watch.TakeChange());
}

TEST(ClipboardWatch, AListeningWindowIsToldOfEachChange) {
  tk::ClipboardWatch watch;
  ListeningWindow window(watch);
  ASSERT_NE(window.get(), nullptr);
  watch.Listen(window.get());
  ExpectOneChangePerChange(watch);
}

TEST(ClipboardWatch, WithoutAWindowTheSequenceNumberIsCompared) {
  tk::ClipboardWatch watch;
  watch.Listen(nullptr);  // the system refuses: the watch falls back
  ExpectOneChangePerChange(watch);
}

TEST(ClipboardWatch, AClipboardEmptiedByAnotherProgramCountsAsAChange) {
  tk::ClipboardWatch watch;
  ListeningWindow window(watch);
  ASSERT_NE(window.get(), nullptr);
  watch.Listen(window.get());
  ASSERT_TRUE(vt::SetClipboardText("https://kept.example/"));
  Deliver();
  watch.TakeChange();
  ASSERT_TRUE(vt::ClearClipboard());
  Deliver();
  EXPECT_TRUE(watch.TakeChange());
}

}  // namespace
