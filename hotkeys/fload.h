// The hidden window that owns the global hotkeys: a message-only window, never
// shown. Whoever
// loads it first hands it the hotkeys to register: their ids, keys and what
// each does. The settings window unloads and loads it again whenever the
// letters change.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/form.h"

namespace vantisk::fload_ids {
inline constexpr char kClassName[] = "VantiskHotkeys";
}

// One global hotkey as the hotkey window registers it.
struct Hotkey {
  int id;                        // the WM_HOTKEY id, 1 or more
  UINT modifiers;                // MOD_ALT, MOD_CONTROL, MOD_SHIFT
  std::string letters;           // a letter box's text: its first character names the key
  std::function<void()> action;  // run when the hotkey is pressed
};

class fLoadWindow : public tk::Form {
 public:
  fLoadWindow();

  // The hotkeys the next load registers, in this order.
  void SetHotkeys(std::vector<Hotkey> hotkeys);
  // Runs the action of hotkey `id`; any other id does nothing.
  void RunHotkey(WPARAM id);

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  std::vector<Hotkey> hotkeys_;
};

fLoadWindow& fLoad();

// The keyboard layout's key for a character (vantisk::KeyScanFn).
short LayoutKeyScan(char32_t character);
