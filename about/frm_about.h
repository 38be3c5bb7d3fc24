// The About window: title, version, a line about the maker, the date of the
// built-in Public Suffix List, and a launcher for the system's System
// Information tool.
#pragma once

#include <windows.h>

#include <string>

#include "about/frm_about_ids.h"
#include "toolkit/controls.h"

class frmAboutWindow : public tk::Form {
 public:
  frmAboutWindow();

  tk::Picture picIcon;
  tk::Label lblTitle;
  tk::Label lblVersion;
  tk::Label lblDescription;
  tk::Button cmdOK;
  tk::Button cmdSysInfo;
  tk::Line Line1_1;
  tk::Line Line1_0;

 protected:
  void Form_Load() override;

 private:
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void StartSysInfo();
};

frmAboutWindow& frmAbout();

// Reads one registry value as text: REG_SZ as it is, REG_DWORD as "&h" and its
// hex digits; any other type leaves `KeyVal` as it was. False, with `KeyVal`
// empty, when the key or the value cannot be read.
bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);
