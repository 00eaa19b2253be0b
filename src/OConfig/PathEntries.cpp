#include "OConfig/PathEntries.h"

#include <vector>

namespace {

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (std::size_t semicolon; (semicolon = path.find(';', start)) != std::string::npos;
       start = semicolon + 1)
    entries.push_back(path.substr(start, semicolon - start));
  entries.push_back(path.substr(start));
  return entries;
}

std::string Comparable(std::string entry) {
  if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"')
    entry = entry.substr(1, entry.size() - 2);
  while (!entry.empty() && (entry.back() == '\\' || entry.back() == '/')) entry.pop_back();
  for (char& c : entry)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return entry;
}

bool SameFolder(const std::string& entry, const std::string& folder) {
  const std::string wanted = Comparable(folder);
  return !wanted.empty() && Comparable(entry) == wanted;
}

}  // namespace

bool PathHasFolder(const std::string& path, const std::string& folder) {
  for (const std::string& entry : Split(path))
    if (SameFolder(entry, folder)) return true;
  return false;
}

std::string PathWithFolder(const std::string& path, const std::string& folder) {
  if (PathHasFolder(path, folder)) return path;
  if (path.empty() || path.back() == ';') return path + folder;
  return path + ";" + folder;
}

std::string PathWithoutFolder(const std::string& path, const std::string& folder) {
  std::string kept;
  bool first = true;
  for (const std::string& entry : Split(path)) {
    if (SameFolder(entry, folder)) continue;
    if (!first) kept += ';';
    kept += entry;
    first = false;
  }
  return kept;
}
