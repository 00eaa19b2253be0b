// The baseline for /TREE: a bare recursive find-first / find-next walk that
// only sums the sizes and counts the directories, printing one line at the end.
// Built for Windows only (target tree_find_loop); run by bench/wine-tree.sh.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Platform/Platform.h"

int main(int argc, char** argv) {
  std::vector<std::string> pending{argc > 1 ? argv[1] : "."};
  std::uint64_t bytes = 0;
  std::uint32_t directories = 0;
  Plat::FindData data;
  while (!pending.empty()) {
    std::string directory = std::move(pending.back());
    pending.pop_back();
    ++directories;
    Plat::Handle search = Plat::FindFirst(directory + "\\*.*", 0x37, data);
    if (search == Plat::InvalidHandle) continue;
    do {
      bool dots = std::strcmp(data.Name, ".") == 0 || std::strcmp(data.Name, "..") == 0;
      if ((data.Attributes & Plat::AttrDirectory) != 0 && !dots)
        pending.push_back(directory + "\\" + data.Name);
      else
        bytes += (std::uint64_t{data.SizeHigh} << 32) | data.SizeLow;
    } while (Plat::FindNext(search, data));
    Plat::FindEnd(search);
  }
  std::printf("%u directories, %llu bytes\n", directories, static_cast<unsigned long long>(bytes));
  return 0;
}
