// The steps of one directory, in order: read, filter, sort, layout, write.
#pragma once

#include <string>

#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Scan/DirectoryRead.h"

// What the read of a directory asks for: the search path of the first file
// specification, then the directory with each further one.
ReadRequest RequestFor(const std::string& searchSpec);
// Reads the directory into `read` (its buffers reused), filters its entries
// into ThisDir.FileList with the counters and totals, and writes the batch lines and
// the header line; a directory that ends the run ends it here. Under /S the
// subdirectories go onto RunWalk.PendingDirs. Gives the layout to list it with.
DirectoryLayout ScanDirectory(const std::string& searchSpec, DirectoryRead& read);
// Sorts ThisDir.FileList and writes it with its summary (in a walk, then an empty line).
void WriteListing(DirectoryLayout directory = {});
