#pragma once

#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/ListingLayout.h"

struct DirectoryListing;

// Writes the header line of a directory ("Volume Label: ", "Path: ") without
// ending it; the volume label only on the walk's first directory.
void WriteHeaderLine(const DirectoryListing& listing, bool firstDirectory);
// Writes the listing's FileList, in its order, in the planned layout, then its summary.
void WriteListing(const ListingLayoutRec& layout, const DirectoryListing& listing);
