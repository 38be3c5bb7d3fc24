#include "app/program.h"

#include "about/frm_about.h"
#include "app/form1.h"
#include "hotkeys/fload.h"
#include "monitor/form2.h"
#include "toolkit/app.h"

void ExitProgram() {
  Form1().Unload();  // its tray icon goes with it
  Form2().Unload();  // stores its position and only hides
  fLoad().Unload();  // the hotkeys go
  frmAbout().Unload();
  tk::EndProgram();
}
