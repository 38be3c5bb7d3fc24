// The settings window: the two hotkey letters and the "Load with windows"
// switch. Its load is the program's start-up; it owns the tray icon and stays
// loaded, mostly hidden, for the whole run.
#pragma once

#include "app/form1_ids.h"
#include "app/systray.h"
#include "toolkit/controls.h"

class Form1Window : public tk::Form {
 public:
  Form1Window();

  void Command1_Click();  // apply: save the letters and register the hotkeys anew

  tk::Label Label1;
  tk::TextBox Text2;  // letter of the check hotkey, Ctrl+Alt+letter
  tk::Label Label2;
  tk::TextBox Text3;  // letter of the exit hotkey, Alt+letter
  tk::CheckBox Check1;
  tk::Button Command1;

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Check1_Click();
  void KeepAutostartTicked();
  void Form_MouseMove(UINT mouseMessage);
  void mnuAbout_Click();
  void mnuShow_Click();
  void mnuHide_Click();
  void mnuSettings_Click();
  void mnuCheckAll_Click();
  [[noreturn]] void mnuExit_Click();
  void HandHotkeysToFLoad();

  modSystray::TrayIcon trayIcon_;
  // Set while the box is ticked again from code: that is no user's choice.
  bool restoringCheck1_ = false;
};

Form1Window& Form1();
