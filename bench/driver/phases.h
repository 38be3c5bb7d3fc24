// The phases of a benchmark run. Each alternates Vantisk and the reference,
// round by round, so that a slow spell of the machine hits both alike.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "driver/options.h"
#include "driver/stats.h"
#include "toolkit/handles.h"

namespace bench {

struct Figures {
  Series startupMs;
  Series cpuSmall, cpuBig;        // CPU seconds per minute at rest, another program in front
  Series serverSmall, serverBig;  // the wineserver's, meanwhile
  Series cpuSmallFront, serverSmallFront;  // the same with the program's own window in front
  Series privateSmall, privateBig, workingSmall, workingBig;  // peaks, MiB
  Series restPrivateBig;          // private bytes at the end of the window, MiB
  Series mirrorBigMs;             // Vantisk only: 10 MiB clipboard until shown
  std::size_t bigShownChars = 0;  // of it, how many characters Vantisk showed
  Series launchCreatedMs, launchStartedMs;  // the first check of a fresh process
  Series launchWarmCreatedMs;                // the second check of the same process
  Series longAddressMs;  // Vantisk only: a 64 KiB address, key to browser process
  Series longTextMenuMs; // Vantisk only: a 1 MiB text of such addresses, key to its menu
  std::vector<std::string> problems;  // what went wrong, for the report
};

struct Texts {
  std::string small;  // a web address: the check launches it
  std::string big;
  std::string expectedTarget;  // what the browser is given for `small`
};

Texts MakeTexts(const Options& options);
// Points http and https at the bench recorder; false if the registry refused.
bool RegisterBenchRecorder();

// Unrecorded: first starts and launches of a prefix pay one-off costs.
void WarmUp(const Options& options, const Texts& texts, Figures& figures);
void MeasureStartups(const Options& options, const Texts& texts, Figures& figures);
void MeasureLaunches(const Options& options, const Texts& texts, Figures& figures);
void MeasureAtRest(const Options& options, const Texts& texts, Figures& figures);
// Vantisk's checks of the longest addresses it takes; it leaves the settings cleared.
void MeasureLongChecks(const Options& options, const Texts& texts, Figures& figures);
// Both programs side by side at rest with the big clipboard, one line a minute.
// False, with the reason on stderr, when the programs did not start or one ended.
bool RunLong(const Options& options, const Texts& texts);

// An auto-reset event by name, unset: the reference's go and ready signals.
tk::UniqueHandle NewEvent(const std::string& name);

// Progress on stderr, so that stdout holds the report alone.
void Progress(const std::string& text);

}  // namespace bench
