// The enumeration the scan reads a directory with. Today it is always the
// system's find-first / find-next; the /R matching enumeration plugs in here.
#pragma once

#include <cstdint>
#include <string>

#include "Platform/Platform.h"

// Attribute set every search of the scan asks for: read-only, hidden, system,
// directory and archive (everything but volume labels).
constexpr std::uint32_t EnumerationAttributes = 0x37;

struct Enumeration {
  Plat::Handle Search = Plat::InvalidHandle;
};

// Starts the search on a path with wildcards; 0 and the first entry in data,
// or the error code.
std::uint32_t EnumerateFirst(Enumeration& search, const std::string& path, Plat::FindData& data);
// The next entry; false at the end (or on any error, which ends the search too).
bool EnumerateNext(Enumeration& search, Plat::FindData& data);
// Closes a search that EnumerateFirst opened.
void EnumerateClose(Enumeration& search);
