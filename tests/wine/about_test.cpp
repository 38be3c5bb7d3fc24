// The About window, opened from the tray menu, and its System Information
// launcher with the registry arranged by the test.
#include "vantisk_fixture.h"

#include "links/public_suffix.h"

namespace vt {
namespace {

namespace ids = vantisk::about_ids;

constexpr char kMsinfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

class AboutWindow : public VantiskTest {
 protected:
  void SetUp() override {
    VantiskTest::SetUp();
    ASSERT_TRUE(RegDeleteValue(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH"));
    ASSERT_TRUE(RegDeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO"));
    // The prefix is this suite's own copy: without the system's tool the
    // registry alone decides.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    DeleteFileA((std::string(system) + "\\msinfo32.exe").c_str());
  }

  void OpenAbout() {
    ChooseFromTrayMenu(kAbout);
    about = WaitForTopWindow(ids::kClassName, app.Pid(), 3000);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(WaitUntil([this] { return IsVisible(about); }, 3000));
    // Let its activation settle: a menu opened meanwhile would be closed by it.
    WaitUntil([this] { return GetForegroundWindow() == about; }, 1000);
    PumpFor(300);
  }

  void PressSysInfo() { ASSERT_TRUE(Click(Control(about, ids::cmdSysInfo))); }

  void ExpectUnavailable() {
    MessageBoxInfo box = ExpectMessageBox();
    EXPECT_EQ(box.text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(box.title, "Vantisk");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(box.hasIcon);
    ASSERT_TRUE(DismissMessageBox(box.hwnd));
    EXPECT_TRUE(IsWindow(about)) << "the About window stays open";
    EXPECT_TRUE(Launches().empty());
  }

  // A copy of the recorder stands in for the System Information tool: its
  // start shows up as one (empty) line in the launch log.
  void ExpectToolStarted() {
    EXPECT_EQ(WaitForLaunches(1, 5000).size(), 1u) << "the tool was not started";
    EXPECT_TRUE(IsWindow(about));
  }

  HWND about = nullptr;
};

TEST_F(AboutWindow, ShowsTheProgramsIdentityOnceHoweverOftenItIsOpened) {
  Start();
  OpenAbout();
  EXPECT_EQ(WindowText(about), "About Vantisk");
  EXPECT_EQ(WindowText(Control(about, ids::lblTitle)), "Vantisk");
  EXPECT_EQ(WindowText(Control(about, ids::lblVersion)), "Version 1.0.0");
  const std::string description = WindowText(Control(about, ids::lblDescription));
  EXPECT_NE(description.find("Tessanor LTD"), std::string::npos) << description;
  EXPECT_NE(description.find("Public Suffix List of " + std::string(vantisk::PublicSuffixListDate())), std::string::npos)
      << description;
  SIZE client = ClientSizeTwips(about);
  EXPECT_NEAR(client.cx, 5730, 15);
  EXPECT_NEAR(client.cy, 3555, 15);

  OpenAbout();
  int aboutWindows = 0;
  for (HWND window : TopWindows(app.Pid())) aboutWindows += ClassName(window) == ids::kClassName;
  EXPECT_EQ(aboutWindows, 1);
}

TEST_F(AboutWindow, EscapeClosesItAndAltSPressesSystemInfo) {
  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", RecorderExePath()));
  Start();
  OpenAbout();
  ASSERT_TRUE(BringToFront(about));
  ASSERT_TRUE(PressChord({VK_MENU, 'S'}));
  ExpectToolStarted();
  ASSERT_TRUE(BringToFront(about));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_TRUE(WaitUntil([this] { return !IsWindow(about); }, 3000));
  EXPECT_TRUE(app.IsRunning());
}

TEST_F(AboutWindow, APathValueIsStartedAtOnce) {
  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", RecorderExePath()));
  Start();
  OpenAbout();
  PressSysInfo();
  ExpectToolStarted();
}

TEST_F(AboutWindow, AFolderHoldingTheToolIsUsedWhenThereIsNoPath) {
  const std::string folder = TempFolder("msinfo folder");
  ASSERT_TRUE(CopyFileA(RecorderExePath().c_str(), (folder + "\\MSINFO32.EXE").c_str(), FALSE));
  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO", folder));
  Start();
  OpenAbout();
  PressSysInfo();
  ExpectToolStarted();
}

TEST_F(AboutWindow, WithoutTheToolTheUserIsToldItIsUnavailable) {
  Start();
  OpenAbout();
  PressSysInfo();  // neither value
  ExpectUnavailable();

  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kLocationKey, "MSINFO", TempFolder("empty folder")));
  PressSysInfo();
  ExpectUnavailable();

  const std::string path = RecorderExePath();
  ASSERT_TRUE(RegSetRaw(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", REG_EXPAND_SZ,
                        std::span(reinterpret_cast<const BYTE*>(path.c_str()), path.size() + 1)));
  PressSysInfo();
  ExpectUnavailable();

  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", "C:\\no such\\tool.exe"));
  PressSysInfo();
  ExpectUnavailable();

  // A path that names no file leaves the system folder's copy its turn. (Wine
  // would start its own tool of that name instead of a file put there.)
  ASSERT_TRUE(RegSetText(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "msinfo32.exe", "native"));
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  ASSERT_TRUE(CopyFileA(RecorderExePath().c_str(), (std::string(system) + "\\msinfo32.exe").c_str(), FALSE));
  PressSysInfo();
  ExpectToolStarted();
}

}  // namespace
}  // namespace vt
