#pragma once
#include <string>

// Sets RunSpec.CurrentDir, RunSpec.FileMask, RunSpec.FileExt, RunSpec.FileBase and RunSpec.SearchSpec from one file
// specification; on the first call also the drive's cluster figures.
void ParseFileSpec(const std::string& spec);
