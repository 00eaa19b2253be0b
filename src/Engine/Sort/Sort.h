#pragma once

#include "Engine/Sort/EntryOrder.h"

struct DirectoryListing;

// Sorts the listing's FileList in place.
void SortListing(DirectoryListing& listing);
