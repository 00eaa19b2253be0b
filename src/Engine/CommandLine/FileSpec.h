#pragma once
#include <string>

#include "RunValues/FileSpecState.h"

// Sets RunSpec.CurrentDir, RunSpec.FileMask, RunSpec.FileExt, RunSpec.FileBase and RunSpec.SearchSpec from one file
// specification; on the first call also the drive's cluster figures.
void ParseFileSpec(const std::string& spec);
// The same into `into` (drive figures when its DriveNumber is 255), settling
// nothing else but the path a refusal names; ends the run when the full-path
// service refuses the text.
void ParseFileSpecInto(RunSpecRec& into, const std::string& spec);
