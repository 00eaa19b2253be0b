#include "Engine/Sort.h"

int FoldedCompare(std::string_view, std::string_view) { return 0; }
std::string_view NameExtension(std::string_view) { return {}; }
int CompareEntries(const FileEntry&, const FileEntry&) { return 0; }
void SortFileList() {}
