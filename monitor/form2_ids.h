// Control ids of the monitor window, shared with the Windows-side tests.
#pragma once

namespace vantisk::form2_ids {
inline constexpr char kClassName[] = "VantiskMonitor";
enum : int {
  Label2 = 100, Text1, Command1, Label1, Text2, Label4, List1, Command2, Label3, Text3, Command3,
};
}  // namespace vantisk::form2_ids
