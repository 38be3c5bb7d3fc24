// The Unix process behind a Windows one, seen through Wine's drive Z:, which
// maps the Linux root: Z:\proc\<pid>\... Under Wine 8 this is the only
// faithful source of another process's CPU time (see proc_text.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver/proc_text.h"

namespace bench {

class UnixProcess {
 public:
  // The newest process of this Wine prefix whose exe file is `exeFileName`.
  static std::optional<UnixProcess> Find(std::string_view exeFileName);
  // The wineserver of this prefix: much of what a Wine program costs is
  // spent there, on its behalf, and not in the program's own process.
  static std::optional<UnixProcess> FindWineServer();

  // User + kernel time so far (see CpuBetween); nullopt once it is gone.
  std::optional<CpuSample> Cpu() const;

 private:
  explicit UnixProcess(int pid) : pid_(pid) {}
  int pid_;
};

}  // namespace bench
