// The steps of one directory, in order: read, filter, sort, layout, write.
#pragma once

#include <string>

#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Scan/DirectoryRead.h"

// What the read of a directory asks for: the search path of the first file
// specification, then the directory with each further one.
ReadRequest RequestFor(const std::string& searchSpec);
// Filters the read of the directory into ThisDir.FileList with the counters and
// totals, and writes the batch lines and the header line; a directory that
// ends the run ends it here. Under /S the subdirectories go onto RunWalk.PendingDirs.
// False when a walk passes over the directory because it could not be read
// (its path and the error are written instead). `layout` is the layout to
// list the directory with.
bool ScanDirectory(const ReadRequest& request, const DirectoryRead& read, DirectoryLayout& layout);
// Sorts ThisDir.FileList and writes it with its summary (in a walk, then an empty line).
void WriteListing(DirectoryLayout directory = {});
