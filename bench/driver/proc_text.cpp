#include "driver/proc_text.h"

#include <algorithm>
#include <charconv>

namespace bench {
namespace {

// utime, stime and starttime are fields 14, 15 and 22 of the line; the state
// (field 3) is the first after the command name.
constexpr int kFirstFieldAfterName = 3;
constexpr int kUtimeField = 14;
constexpr int kStimeField = 15;
constexpr int kStartTimeField = 22;

std::optional<std::uint64_t> Number(std::string_view text) {
  std::uint64_t value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
  return value;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<StatFields> ParseStat(std::string_view stat) {
  const size_t close = stat.rfind(')');
  if (close == std::string_view::npos || stat.find('(') > close) return std::nullopt;
  std::optional<std::uint64_t> utime, stime, start;
  int field = kFirstFieldAfterName;
  size_t at = close + 1;
  while (at < stat.size() && field <= kStartTimeField) {
    at = stat.find_first_not_of(" \n", at);
    if (at == std::string_view::npos) break;
    const size_t end = std::min(stat.find_first_of(" \n", at), stat.size());
    const std::string_view word = stat.substr(at, end - at);
    if (field == kUtimeField) utime = Number(word);
    if (field == kStimeField) stime = Number(word);
    if (field == kStartTimeField) start = Number(word);
    ++field;
    at = end;
  }
  if (!utime || !stime || !start) return std::nullopt;
  return StatFields{*utime + *stime, *start};
}

std::optional<std::uint64_t> ParseSchedstatNs(std::string_view schedstat) {
  return Number(schedstat.substr(0, schedstat.find_first_of(" \n")));
}

double CpuBetween(const CpuSample& before, const CpuSample& after) {
  const bool noneEnded = std::includes(after.threads.begin(), after.threads.end(), before.threads.begin(),
                                       before.threads.end());
  return noneEnded ? after.threadSeconds - before.threadSeconds : after.tickSeconds - before.tickSeconds;
}

bool EnvironHas(std::string_view environment, std::string_view entry) {
  size_t at = 0;
  while (at <= environment.size()) {
    const size_t end = std::min(environment.find('\0', at), environment.size());
    if (environment.substr(at, end - at) == entry) return true;
    at = end + 1;
  }
  return false;
}

std::string_view Argv0(std::string_view cmdline) { return cmdline.substr(0, cmdline.find('\0')); }

bool HasFileName(std::string_view path, std::string_view fileName) {
  const size_t slash = path.find_last_of("\\/");
  const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return last.size() == fileName.size() &&
         std::equal(last.begin(), last.end(), fileName.begin(),
                    [](char a, char b) { return Lower(a) == Lower(b); });
}

}  // namespace bench
