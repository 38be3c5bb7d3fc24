#include "harness/paths.h"

#include "harness/text.h"

namespace vt {

std::string VantiskExePath() {
#ifdef VANTISK_EXE_UNIX
  return WindowsPathFromUnix(VANTISK_EXE_UNIX);
#else
  return {};
#endif
}

std::string RecorderExePath() { return WindowsPathFromUnix(RECORDER_EXE_UNIX); }

std::string MenuProbeDllPath() { return WindowsPathFromUnix(MENU_PROBE_DLL_UNIX); }

}  // namespace vt
