// The hidden window that owns the global hotkeys. It is never shown; the
// settings window unloads and loads it again whenever the letters change.
#pragma once

#include "toolkit/form.h"

namespace vantisk::fload_ids {
inline constexpr char kClassName[] = "VantiskHotkeys";
}

class fLoadWindow : public tk::Form {
 public:
  fLoadWindow();

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
};

fLoadWindow& fLoad();
