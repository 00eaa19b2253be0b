// The steps of one directory, in order: filter the read into the listing,
// sort it, plan its layout, write it.
#pragma once

#include <string>

#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/RunState.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/ListingLayout.h"
#include "Engine/Scan/DirectoryRead.h"

// What the read of a directory asks for: the search path of the first file
// specification, then the directory with each further one.
class BatchFile;

ReadRequest RequestFor(const std::string& directory, const std::string& searchSpec);
// Filters the read into the listing (its records and names move there) with
// the counters, adds its totals to the walk's, and writes the batch lines and
// the header line; a directory that ends the run ends it here. Under /S the
// subdirectories go onto the walk's stack. False when a walk passes over the
// directory because it could not be read (its path and the error are written
// instead). `layout` is the layout to list the directory with; `batch`, the
// run's batch file under /@, takes the accepted entries' lines.
bool ScanDirectory(const ReadRequest& request, DirectoryRead& read, RunWalkRec& walk,
                   DirectoryListing& listing, DirectoryLayout& layout,
                   BatchFile* batch = nullptr);
// Sorts the listing, plans its layout on the screen and writes it with its
// summary (in a walk, then an empty line); returns the layout it planned.
ListingLayoutRec ShowDirectory(DirectoryListing& listing, DirectoryLayout directory = {});
