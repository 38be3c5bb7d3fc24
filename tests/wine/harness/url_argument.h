// What a stand-in browser was asked to open: its command line after the
// program name. Header-only, so the recorders stay tiny programs.
#pragma once

#include <string_view>

namespace vt {

// The raw command line after the program name (quoted, or up to a blank, as
// CreateProcess reads it), leading blanks dropped, and without exactly one
// pair of surrounding quotes: the pair the registered "%1" template adds.
inline std::wstring_view UrlArgument(std::wstring_view commandLine) {
  std::wstring_view rest = commandLine;
  const bool quoted = !rest.empty() && rest.front() == L'"';
  const size_t nameEnd = quoted ? rest.find(L'"', 1) : rest.find_first_of(L" \t");
  rest.remove_prefix(nameEnd == std::wstring_view::npos ? rest.size() : nameEnd + (quoted ? 1 : 0));
  const size_t first = rest.find_first_not_of(L" \t");
  rest.remove_prefix(first == std::wstring_view::npos ? rest.size() : first);
  if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"') rest = rest.substr(1, rest.size() - 2);
  return rest;
}

}  // namespace vt
