#pragma once
#include <string>

// Sets CurrentDir, FileMask, FileExt, FileBase and SearchSpec from one file
// specification; on the first call also the drive's cluster figures.
void ParseFileSpec(const std::string& spec);
