#include "OConfig/PathEntries.h"

#include <vector>

#include "Base/AsciiCase.h"

namespace {

// The system splits the PATH at ";" outside double quotes.
std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> entries(1);
  bool quoted = false;
  for (char c : path) {
    if (c == '"') quoted = !quoted;
    if (c == ';' && !quoted)
      entries.emplace_back();
    else
      entries.back() += c;
  }
  return entries;
}

std::string Comparable(std::string entry) {
  if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"')
    entry = entry.substr(1, entry.size() - 2);
  while (!entry.empty() && (entry.back() == '\\' || entry.back() == '/')) entry.pop_back();
  UpperAsciiInPlace(entry);
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

bool PathCanHoldFolder(const std::string& folder, std::string& reason) {
  // The PATH is expanded (%NAME%) and has no way to write a quote inside an entry.
  if (folder.find('%') != std::string::npos)
    reason = "its name holds \"%\", which the PATH would read as part of a variable";
  else if (folder.find('"') != std::string::npos)
    reason = "its name holds a double quote, which a PATH entry cannot hold";
  return reason.empty();
}

std::string PathWithFolder(const std::string& path, const std::string& folder,
                           const std::string& follower) {
  if (PathHasFolder(path, folder)) return path;
  const std::string entry = folder.find(';') != std::string::npos ? "\"" + folder + "\"" : folder;
  if (!follower.empty()) {
    const std::vector<std::string> entries = Split(path);
    std::size_t offset = 0;
    for (const std::string& next : entries) {
      if (next == follower) return path.substr(0, offset) + entry + ";" + path.substr(offset);
      offset += next.size() + 1;
    }
  }
  if (path.empty()) return entry;
  // A PATH that ends in ";" keeps that end, so that taking the entry off
  // again gives back the text as it was.
  if (path.back() == ';') return path + entry + ";";
  return path + ";" + entry;
}

std::string FolderFollower(const std::string& path, const std::string& folder) {
  const std::vector<std::string> entries = Split(path);
  for (std::size_t k = 0; k + 1 < entries.size(); ++k)
    if (SameFolder(entries[k], folder)) return entries[k + 1];
  return {};
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
