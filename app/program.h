// How the program ends. The tray menu's "Exit" and the exit hotkey both come here.
#pragma once

// Stores the monitor window's position, removes the hotkeys and the tray
// icon, closes the About window and ends the process at once.
[[noreturn]] void ExitProgram();
