#pragma once

// Writes the FileList of one directory in the chosen layout, then its summary.
void ShowListing();
