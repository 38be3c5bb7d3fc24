#include "driver/launch_log.h"

#include <charconv>

namespace bench {
namespace {

// Takes the number at the start of `text` up to a blank, and the blank.
std::optional<std::uint64_t> TakeNumber(std::string_view& text) {
  std::uint64_t value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const size_t used = static_cast<size_t>(stop - text.data());
  if (error != std::errc() || used == 0 || used >= text.size() || text[used] != ' ') return std::nullopt;
  text.remove_prefix(used + 1);
  return value;
}

}  // namespace

std::string FormatLaunchLine(const Launch& launch) {
  return std::to_string(launch.created) + " " + std::to_string(launch.started) + " " +
         launch.argument + "\r\n";
}

std::optional<Launch> ParseLaunchLine(std::string_view line) {
  const std::optional<std::uint64_t> created = TakeNumber(line);
  if (!created) return std::nullopt;
  const std::optional<std::uint64_t> started = TakeNumber(line);
  if (!started) return std::nullopt;
  return Launch{*created, *started, std::string(line)};
}

std::vector<Launch> ParseLaunchLog(std::string_view content) {
  std::vector<Launch> launches;
  for (size_t end = content.find("\r\n"); end != std::string_view::npos; end = content.find("\r\n")) {
    if (std::optional<Launch> launch = ParseLaunchLine(content.substr(0, end))) {
      launches.push_back(std::move(*launch));
    }
    content.remove_prefix(end + 2);
  }
  return launches;
}

std::string UrlText(std::size_t bytes) {
  std::string text = "https://example.com/bench?q=";
  for (char next = 'a'; text.size() < bytes; next = next == 'z' ? 'a' : static_cast<char>(next + 1)) {
    text += next;
  }
  return text;
}

std::string ProseText(std::size_t bytes) {
  static constexpr std::string_view kWords = "lorem ipsum dolor sit amet consectetur adipiscing elit ";
  std::string text;
  text.reserve(bytes);
  while (text.size() < bytes) text += kWords.substr(0, bytes - text.size());
  return text;
}

}  // namespace bench
