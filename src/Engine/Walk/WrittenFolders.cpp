#include "Engine/Walk/WrittenFolders.h"

#include <algorithm>

#include "Base/AsciiCase.h"
#include "Platform/Files.h"

namespace {

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

// The system's name for the folder that holds a file; empty when it has none.
std::string FolderHolding(const std::string& file) {
  std::string full, folder;
  if (!Plat::FullPathName(file, full)) return {};
  const std::size_t slash = full.find_last_of('\\');
  if (slash == std::string::npos) return {};
  if (!Plat::FinalFolderPath(full.substr(0, slash + 1), folder)) return {};
  return WithBackslash(folder);
}

}  // namespace

std::optional<std::vector<std::string>> WrittenFoldersBelow(const std::string& rootDirectory,
                                                            std::span<const std::string> files) {
  std::vector<std::string> written;
  std::string output;
  const Plat::OutputTarget target = Plat::OutputFile(output);
  if (target == Plat::OutputTarget::UnnamedFile) return std::nullopt;
  std::string root;
  if (!Plat::FinalFolderPath(rootDirectory, root)) return written;
  root = WithBackslash(root);
  std::vector<std::string> folders;
  if (target == Plat::OutputTarget::NamedFile) folders.push_back(FolderHolding(output));
  for (const std::string& file : files) folders.push_back(FolderHolding(file));
  for (const std::string& folder : folders) {
    // The root itself is read before any worker starts.
    if (folder.size() <= root.size() || !StartsAsciiFolded(folder, root)) continue;
    std::string key = rootDirectory + folder.substr(root.size());
    key.pop_back();
    written.push_back(std::move(key));
  }
  return written;
}
