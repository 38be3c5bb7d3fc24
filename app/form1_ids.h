// Control ids of the settings window, shared with the Windows-side tests.
#pragma once

namespace vantisk::form1_ids {
inline constexpr char kClassName[] = "VantiskSettings";
enum : int { Label1 = 100, Text2, Label2, Text3, Check1, Command1 };
}  // namespace vantisk::form1_ids
