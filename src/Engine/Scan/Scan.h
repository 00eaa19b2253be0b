// The filter step of one directory, on the main thread: the entries of a read
// that pass the filters go into the entry pool and ThisDir.FileList, with the
// directory's counters; and what a failed search means.
#pragma once
#include <cstdint>
#include <string>

#include "Common/RunEnd.h"
#include "Engine/Scan/DirectoryRead.h"

// Zeroes the directory's counters and the filter step's working state.
void StartScanWork();
// Filters the read's entries [from, to) into the pool and ThisDir.FileList.
void ScanEntries(const DirectoryRead& read, std::size_t from, std::size_t to);
// Entries placed in the pool (and ThisDir.FileList) since StartScanWork.
int PlacedEntryCount();

// What a failed search start says.
std::string FindErrorMessage(std::uint32_t code);
// Whether the run goes on past a failed search start: no match is reported
// later (or passed over in a walk), and a walk goes on past a directory it
// cannot reach; a missing drive never goes on.
bool FindErrorGoesOn(std::uint32_t code);
// The exit code of a run a failed search start ends: a folder that is not
// there is a specification nothing matches.
ExitCode FindErrorExitCode(std::uint32_t code);
// Reports a search start's result: ends the run when it does not go on.
void ReportFindError(std::uint32_t code);
