// Faults around the program: a hotkey held by another program, no browser
// registered for web addresses, a machine-wide Run key the user may not write.
#include "vantisk_fixture.h"

#include <aclapi.h>

#include "settings/autostart.h"

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;
namespace settings_ids = vantisk::form1_ids;

class TakenHotkey : public VantiskTest {};
class NoBrowser : public VantiskTest {};
class LockedRunKey : public VantiskTest {};
class UnremovableRunValue : public VantiskTest {};

// Alt+E taken: the exit hotkey stays silent, without a message; the check
// hotkey and the tray menu's Exit still work.
TEST_F(TakenHotkey, AnExitHotkeyTakenElsewhereLeavesTheOtherWaysOut) {
  HotkeyHolder other(MOD_ALT, 'E');
  ASSERT_TRUE(other.Held());
  Start();
  ASSERT_TRUE(PressChord({VK_MENU, 'E'}));
  EXPECT_TRUE(other.Received()) << "the other program keeps its hotkey";
  PumpFor(500);
  EXPECT_TRUE(app.IsRunning());
  EXPECT_FALSE(FindMessageBox(app.Pid(), 300).has_value());
  EXPECT_TRUE(Responds(monitor, 1000));

  PutOnClipboard("https://taken.example/");
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'S'}));
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kChecker + "https://taken.example/"});
  ChooseFromTrayMenu(kExit);
  EXPECT_TRUE(app.WaitForExit(5000));
}

// No handler for http(s): the shell cannot start anything, and the user is
// told so with the address; once a browser is back, checks work again.
TEST_F(NoBrowser, AFailedLaunchIsReportedWithTheTarget) {
  ASSERT_TRUE(UnregisterBrowser());
  Start();
  PutOnClipboard("https://nobrowser.example/");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  MessageBoxInfo box = ExpectMessageBox();
  EXPECT_EQ(box.text, "The browser could not be started to open:\n\n" + kChecker +
                          "https://nobrowser.example/\n\nCheck that a default web browser is set.");
  EXPECT_EQ(box.title, "Vantisk");
  EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(box.hasIcon);
  EXPECT_FALSE(IsTopmost(monitor)) << "the box must not hide behind the monitor window";
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  EXPECT_TRUE(WaitUntil([this] { return IsTopmost(monitor); }, 3000));

  // Through the hotkey the same message, and a long target is shortened.
  const std::string longAddress = "https://nobrowser.example/" + std::string(400, 'x');
  PutOnClipboard(longAddress);
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'S'}));
  box = ExpectMessageBox();
  EXPECT_EQ(box.text, "The browser could not be started to open:\n\n" + (kChecker + longAddress).substr(0, 200) +
                          "...\n\nCheck that a default web browser is set.");
  ASSERT_TRUE(DismissMessageBox(box.hwnd));
  PumpFor(300);
  EXPECT_TRUE(Launches().empty());

  ASSERT_TRUE(RegisterRecorderAsBrowser());
  PutOnClipboard("https://back.example/");
  ASSERT_TRUE(Click(MonitorControl(ids::Command1)));
  EXPECT_EQ(WaitForLaunches(1, 5000), std::vector<std::string>{kChecker + "https://back.example/"});
}

// Denies everyone the right to set values in a key (a standard user's view of
// the machine-wide Run key); the test itself still may read it.
bool DenyWriting(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  const tk::RegKey owned(key);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return false;
  EXPLICIT_ACCESSA rules[2] = {};
  for (EXPLICIT_ACCESSA& rule : rules) {
    rule.grfInheritance = NO_INHERITANCE;
    rule.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    rule.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    rule.Trustee.ptstrName = static_cast<LPSTR>(everyone);
  }
  rules[0].grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
  rules[0].grfAccessMode = DENY_ACCESS;
  rules[1].grfAccessPermissions = KEY_READ | WRITE_DAC;
  rules[1].grfAccessMode = GRANT_ACCESS;
  PACL acl = nullptr;
  bool denied = SetEntriesInAclA(2, rules, nullptr, &acl) == ERROR_SUCCESS &&
                SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
  LocalFree(acl);
  FreeSid(everyone);
  return denied;
}

// "Load with windows" where the machine-wide Run key cannot be written: the
// per-user Run key takes the value, and switching off removes it there.
TEST_F(LockedRunKey, TheUserRunKeyTakesTheValue) {
  using modSystray::kRunKey;
  ASSERT_TRUE(RegDeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk"));
  ASSERT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, kRunKey, "Vantisk"));
  ASSERT_TRUE(DenyWriting(HKEY_LOCAL_MACHINE, kRunKey));
  HKEY probe = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_WRITE, &probe) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "this Wine does not enforce registry permissions";
  }
  Start();
  ASSERT_TRUE(Click(SettingsControl(settings_ids::Check1)));
  EXPECT_TRUE(WaitUntil([] { return Setting("start", "autoboot") == "1"; }, 3000));
  EXPECT_TRUE(WaitUntil([] { return RegGetText(HKEY_CURRENT_USER, kRunKey, "Vantisk").has_value(); }, 3000));
  std::string quoted(1, '"');
  quoted += VantiskExePath();
  quoted += '"';
  const std::string stored = RegGetText(HKEY_CURRENT_USER, kRunKey, "Vantisk").value_or("");
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, stored.c_str(), -1, quoted.c_str(), -1), CSTR_EQUAL)
      << stored;
  EXPECT_FALSE(RegGetText(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk").has_value());

  ASSERT_TRUE(Click(SettingsControl(settings_ids::Check1)));
  EXPECT_TRUE(WaitUntil([] { return Setting("start", "autoboot") == "0"; }, 3000));
  EXPECT_FALSE(RegGetText(HKEY_CURRENT_USER, kRunKey, "Vantisk").has_value());
}

// An administrator's run left the machine-wide value, which this user may not
// remove: unticking keeps the box and "autoboot" truthful and says how to remove it.
TEST_F(UnremovableRunValue, UntickingKeepsTheBoxTickedAndSaysWhy) {
  using modSystray::kRunKey;
  ASSERT_TRUE(RegSetText(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk", "\"C:\\Elevated\\Vantisk.exe\""));
  ASSERT_TRUE(DenyWriting(HKEY_LOCAL_MACHINE, kRunKey));
  HKEY probe = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_WRITE, &probe) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "this Wine does not enforce registry permissions";
  }
  ASSERT_TRUE(SetSetting("start", "autoboot", "1"));
  Start();
  HWND box = SettingsControl(settings_ids::Check1);
  ASSERT_TRUE(Click(box));
  MessageBoxInfo message = ExpectMessageBox();
  EXPECT_NE(message.text.find("only an administrator can remove it"), std::string::npos) << message.text;
  EXPECT_NE(message.text.find("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
            std::string::npos);
  ASSERT_TRUE(DismissMessageBox(message.hwnd));
  EXPECT_EQ(SendTimed(box, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Setting("start", "autoboot"), "1");
  EXPECT_TRUE(RegGetText(HKEY_LOCAL_MACHINE, kRunKey, "Vantisk").has_value());
  EXPECT_FALSE(RegGetText(HKEY_CURRENT_USER, kRunKey, "Vantisk").has_value()) << "the user's own value is gone";
}

}  // namespace
}  // namespace vt
