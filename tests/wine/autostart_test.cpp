// "Load with windows": the Run values, through the settings window's check
// box of the real program and through the routines on their own.
#include "vantisk_fixture.h"

#include "harness/text.h"

#include "settings/autostart.h"
#include "toolkit/handles.h"

namespace vt {
namespace {

namespace settings_ids = vantisk::form1_ids;
using modSystray::kParkingKey;
using modSystray::kRunKey;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

bool SameText(const std::optional<std::string>& a, const std::string& b) {
  return a && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a->c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

class AutostartSwitch : public VantiskTest {
 protected:
  void SetUp() override {
    VantiskTest::SetUp();
    ASSERT_TRUE(RegDeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk"));
    ASSERT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, kRunKey, "Vantisk"));
    ASSERT_TRUE(RegDeleteTree(HKEY_LOCAL_MACHINE, kParkingKey));
  }
  void ClickTheBox() {
    ASSERT_TRUE(Click(SettingsControl(settings_ids::Check1)));
    PumpFor(300);
  }
  static std::optional<std::string> RunValue() { return RegGetText(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk"); }
};

TEST_F(AutostartSwitch, TickingWritesTheQuotedPathAndUntickingRemovesIt) {
  Start();
  ClickTheBox();
  EXPECT_TRUE(WaitUntil([] { return Setting("start", "autoboot") == "1"; }, 3000));
  EXPECT_TRUE(SameText(RunValue(), Quoted(VantiskExePath()))) << RunValue().value_or("(absent)");

  ClickTheBox();
  EXPECT_TRUE(WaitUntil([] { return Setting("start", "autoboot") == "0"; }, 3000));
  EXPECT_FALSE(RunValue().has_value());
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kParkingKey)) << "the parking key is never created";
}

TEST_F(AutostartSwitch, AStoredOnRewritesTheValueWithTheProgramsCurrentPath) {
  ASSERT_TRUE(SetSetting("start", "autoboot", " 1"));
  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk", "\"C:\\old place\\Vantisk.exe\""));
  const std::string moved = CopyFileTo(VantiskExePath(), TempFolder("moved here"));
  ASSERT_FALSE(moved.empty());
  Start(moved);
  EXPECT_EQ(SendTimed(SettingsControl(settings_ids::Check1), BM_GETCHECK), BST_CHECKED);
  EXPECT_TRUE(WaitUntil([&] { return SameText(RunValue(), Quoted(moved)); }, 3000))
      << RunValue().value_or("(absent)");
  EXPECT_EQ(Setting("start", "autoboot"), "1");
}

TEST_F(AutostartSwitch, AnythingButTheNumberOneLeavesTheBoxUnticked) {
  for (const char* stored : {"2", "yes", "0", ""}) {
    SCOPED_TRACE(stored);
    ASSERT_TRUE(SetSetting("start", "autoboot", stored));
    Restart();
    EXPECT_EQ(SendTimed(SettingsControl(settings_ids::Check1), BM_GETCHECK), BST_UNCHECKED);
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_EQ(Setting("start", "autoboot"), stored) << "nothing ran, nothing was written";
  }
}

// The routines against roots the test controls: a "machine" root that has the
// keys, and one whose Run key cannot be opened.
class AutostartRoutines : public ::testing::Test {
 protected:
  static constexpr char kTestRoot[] = "Software\\VantiskAutostartTest";

  void SetUp() override {
    RegDeleteTree(HKEY_CURRENT_USER, kTestRoot);
    machine = tk::CreateRegKey(HKEY_CURRENT_USER, Widen(std::string(kTestRoot) + "\\machine").c_str(), KEY_ALL_ACCESS);
    user = tk::CreateRegKey(HKEY_CURRENT_USER, Widen(std::string(kTestRoot) + "\\user").c_str(), KEY_ALL_ACCESS);
    ASSERT_TRUE(machine && user);
    ASSERT_TRUE(RegSetText(machine.get(), kRunKey, "Other", "other.exe"));
    ASSERT_TRUE(RegSetText(user.get(), kRunKey, "Other", "other.exe"));
  }
  void TearDown() override { RegDeleteTree(HKEY_CURRENT_USER, kTestRoot); }

  modSystray::AutostartRoots Roots() const { return {machine.get(), user.get()}; }
  void CreateParkingKey() { ASSERT_TRUE(RegSetText(machine.get(), kParkingKey, "Other", "x")); }

  tk::RegKey machine;
  tk::RegKey user;
};

TEST_F(AutostartRoutines, SwitchingOnTwiceLeavesOneValue) {
  modSystray::EnableAutostart("\"C:\\A\\Vantisk.exe\"", "Vantisk", Roots());
  modSystray::EnableAutostart("\"C:\\B\\Vantisk.exe\"", "Vantisk", Roots());
  // Read back in the code page it was written in: the size counts the NUL.
  tk::RegKey run = tk::OpenRegKey(machine.get(), Widen(kRunKey).c_str(), KEY_READ);
  char data[64] = {};
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(run.get(), "Vantisk", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  const std::string expected = "\"C:\\B\\Vantisk.exe\"";
  EXPECT_EQ(size, expected.size() + 1);
  EXPECT_EQ(std::string(data), expected);
  EXPECT_FALSE(RegGetText(user.get(), kRunKey, "Vantisk").has_value());
  EXPECT_FALSE(RegKeyExists(machine.get(), kParkingKey));
}

TEST_F(AutostartRoutines, SwitchingOffParksTheValueOnlyWhereTheParkingKeyExists) {
  modSystray::EnableAutostart("x", "Vantisk", Roots());
  EXPECT_TRUE(modSystray::DisableAutostart("", "Vantisk", Roots())) << "nothing starts the program any more";
  EXPECT_FALSE(RegGetText(machine.get(), kRunKey, "Vantisk").has_value());
  EXPECT_FALSE(RegKeyExists(machine.get(), kParkingKey));
  EXPECT_EQ(RegGetText(machine.get(), kRunKey, "Other"), "other.exe");

  CreateParkingKey();
  modSystray::EnableAutostart("x", "Vantisk", Roots());
  modSystray::DisableAutostart("", "Vantisk", Roots());
  EXPECT_EQ(RegGetText(machine.get(), kParkingKey, "Vantisk"), "");
  modSystray::EnableAutostart("x", "Vantisk", Roots());
  EXPECT_FALSE(RegGetText(machine.get(), kParkingKey, "Vantisk").has_value()) << "switching on unparks";
  EXPECT_EQ(RegGetText(machine.get(), kRunKey, "Vantisk"), "x");
}

// Without write access to the machine-wide key the per-user Run key takes the
// value, and switching off removes it from there too.
TEST_F(AutostartRoutines, TheUserRunKeyStandsInWhenTheMachineKeyCannotBeOpened) {
  tk::RegKey locked = tk::CreateRegKey(
      HKEY_CURRENT_USER, Widen(std::string(kTestRoot) + "\\no run key").c_str(), KEY_ALL_ACCESS);
  modSystray::AutostartRoots roots{locked.get(), user.get()};
  modSystray::EnableAutostart("\"C:\\P\\Vantisk.exe\"", "Vantisk", roots);
  EXPECT_EQ(RegGetText(user.get(), kRunKey, "Vantisk"), "\"C:\\P\\Vantisk.exe\"");
  EXPECT_FALSE(RegKeyExists(locked.get(), kRunKey)) << "keys are opened, never created";

  modSystray::DisableAutostart("", "Vantisk", roots);
  EXPECT_FALSE(RegGetText(user.get(), kRunKey, "Vantisk").has_value());
  EXPECT_EQ(RegGetText(user.get(), kRunKey, "Other"), "other.exe");
}

}  // namespace
}  // namespace vt
