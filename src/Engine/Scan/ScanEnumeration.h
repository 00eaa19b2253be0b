// The enumeration the scan reads a directory with: the system's find-first /
// find-next, or with /R the matching enumeration over the whole directory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Engine/Wildcards/MatchEnumeration.h"
#include "Platform/Files.h"

// Attribute set every search of the scan asks for: read-only, hidden, system,
// directory and archive (everything but volume labels).
constexpr std::uint32_t EnumerationAttributes = 0x37;

// Whether a walk (/S, /TREE) enters this entry: a directory, but not a link or
// junction, which may lead back to an ancestor, and not ".", "..", or a name of
// only dots and blanks, which the path services turn back into this directory.
bool IsWalkedInto(const Plat::FindData& data);
bool IsWalkedInto(std::uint32_t attributes, std::string_view name);

struct Enumeration {
  Plat::Handle Search = Plat::InvalidHandle;
  MatchSearch Matching;     // /R: the mask and the search over the whole directory
  bool OwnMatcher = false;  // /R: names are selected by Matching
};

// Starts the search on a path with wildcards; 0 and the first entry in data,
// or the error code.
std::uint32_t EnumerateFirst(Enumeration& search, const std::string& path, Plat::FindData& data);
// The next entry; false at the end (or on any error, which ends the search too).
bool EnumerateNext(Enumeration& search, Plat::FindData& data);
// Closes a search that EnumerateFirst opened.
void EnumerateClose(Enumeration& search);
