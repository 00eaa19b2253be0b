#pragma once
#include <string>

// True when find-first on the path succeeds and its first entry is a directory.
bool DirectoryExistsAt(const std::string& path);
