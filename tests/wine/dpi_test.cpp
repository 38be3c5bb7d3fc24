// Every window is laid out in twips: at 96 and at 144 dpi its client area
// measures the same.
#include "vantisk_fixture.h"

namespace vt {
namespace {


// The runner sets the display's DPI for each suite (Wine reads it when its
// session starts).
class HighDpi : public VantiskTest {
 protected:

  static SIZE ClientTwipsAt(HWND window, int dpi) {
    RECT client{};
    GetClientRect(window, &client);
    return {MulDiv(client.right, 1440, dpi), MulDiv(client.bottom, 1440, dpi)};
  }

  void ExpectLayoutInTwips(int dpi) {
    Start();
    EXPECT_EQ(static_cast<int>(WindowDpi(monitor)), dpi);
    ChooseFromTrayMenu(kAbout);
    HWND about = WaitForTopWindow(vantisk::about_ids::kClassName, app.Pid(), 3000);
    ASSERT_NE(about, nullptr);
    const int onePixel = 1440 / dpi;
    struct Expected { HWND window; int width, height; } windows[] = {
        {settings, 5655, 2250}, {monitor, 9435, 3105}, {about, 5730, 3555}};
    for (const Expected& expected : windows) {
      SCOPED_TRACE(ClassName(expected.window));
      SIZE twips = ClientTwipsAt(expected.window, dpi);
      EXPECT_NEAR(twips.cx, expected.width, onePixel);
      EXPECT_NEAR(twips.cy, expected.height, onePixel);
    }
    // The controls and their fonts scale too: the check button keeps its twips.
    RECT button{};
    GetWindowRect(Control(monitor, vantisk::form2_ids::Command1), &button);
    EXPECT_NEAR(MulDiv(button.right - button.left, 1440, dpi), 1215, onePixel);
  }
};

class At96Dpi : public HighDpi {};
class At144Dpi : public HighDpi {};

TEST_F(At96Dpi, EveryWindowMeasuresItsTwips) { ExpectLayoutInTwips(96); }
TEST_F(At144Dpi, EveryWindowMeasuresItsTwips) { ExpectLayoutInTwips(144); }

}  // namespace
}  // namespace vt
