#pragma once

#include "Engine/Descriptions/Descriptions.h"

// Writes the header line of a directory ("Volume Label: ", "Path: ") without ending it.
void WriteHeaderLine();
// Writes the ThisDir.FileList of one directory, in its order, in the chosen layout,
// then its summary.
void ShowListing(DirectoryLayout directory = {});
