// Where a name's extension starts: after its last "." that follows the last
// "\". The sort's extension key, the 8.3 column's justified extension and the
// extension colours all take it from here.
#pragma once

#include <cstddef>
#include <string_view>

// The position of that ".", or npos for a name without an extension.
inline std::size_t ExtensionDot(std::string_view name) {
  for (std::size_t at = name.size(); at-- > 0;) {
    if (name[at] == '.') return at;
    if (name[at] == '\\') break;
  }
  return std::string_view::npos;
}

inline std::string_view NameExtension(std::string_view name) {
  const std::size_t dot = ExtensionDot(name);
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}
