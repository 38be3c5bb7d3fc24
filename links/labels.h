// The labels of a domain name: the pieces between its dots. "a..b." has four
// labels, "a", "", "b" and "" (the empty one after the trailing dot).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace vantisk {

// Every label, leftmost first.
template <typename Char>
std::vector<std::basic_string_view<Char>> SplitLabels(std::basic_string_view<Char> domain) {
  std::vector<std::basic_string_view<Char>> labels;
  for (std::size_t start = 0;;) {
    const std::size_t dot = domain.find(Char('.'), start);
    labels.push_back(domain.substr(start, dot == domain.npos ? domain.npos : dot - start));
    if (dot == domain.npos) return labels;
    start = dot + 1;
  }
}

constexpr std::size_t LabelCount(std::string_view name) {
  std::size_t count = 1;
  for (const char c : name) count += c == '.' ? 1 : 0;
  return count;
}

// The label after the last dot (the whole name when it has none).
constexpr std::string_view LastLabel(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

// Where the name's `count` rightmost labels start, walking from the right: it
// looks at those labels only. Nothing when the name has `count` labels or
// fewer, so that they are all of it.
constexpr std::optional<std::size_t> StartOfLastLabels(std::string_view name, std::size_t count) {
  std::size_t dotAfter = name.size();  // the dot (or the end) after the labels taken
  for (std::size_t taken = 0; taken < count; ++taken) {
    const std::size_t dot = dotAfter == 0 ? std::string_view::npos : name.rfind('.', dotAfter - 1);
    if (dot == std::string_view::npos) return std::nullopt;
    dotAfter = dot;
  }
  return count == 0 ? name.size() : dotAfter + 1;
}

// The name's `count` rightmost labels, or the whole name when it has no more.
constexpr std::string_view LastLabels(std::string_view name, std::size_t count) {
  const std::optional<std::size_t> start = StartOfLastLabels(name, count);
  return start ? name.substr(*start) : name;
}

}  // namespace vantisk
