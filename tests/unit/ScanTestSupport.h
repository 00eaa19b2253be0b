// Helpers for tests that read the program's redirected output line by line.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Platform/Sim/SimPlatform.h"

// Lines of standard output, line ends removed.
inline std::vector<std::string> OutputLines() {
  std::vector<std::string> lines;
  const std::string& text = Sim::StdOut();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// A line built from texts placed at 1-based columns, trailing blanks removed
// (as redirected output writes it).
inline std::string LineOf(std::initializer_list<std::pair<int, std::string>> parts) {
  std::string line;
  for (const auto& [column, text] : parts) {
    std::size_t end = static_cast<std::size_t>(column - 1) + text.size();
    if (line.size() < end) line.resize(end, ' ');
    line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}
