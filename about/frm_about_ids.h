// Control ids of the About window, shared with the Windows-side tests.
#pragma once

namespace vantisk::about_ids {
inline constexpr char kClassName[] = "VantiskAbout";
enum : int { picIcon = 100, lblTitle, lblVersion, lblDescription, cmdOK, cmdSysInfo };
}  // namespace vantisk::about_ids
