// Adding a folder to a PATH text and taking it out again.
#pragma once

#include <string>

// Whether the folder can be a PATH entry; the reason for people when not.
bool PathCanHoldFolder(const std::string& folder, std::string& reason);
// Entries are split at ";" outside double quotes. They name the same folder when they are equal
// apart from the case of a-z, surrounding quotes and final backslashes.
bool PathHasFolder(const std::string& path, const std::string& folder);
// The path with the folder added (quoted when it holds ";"), or unchanged
// when it is there already: before the first entry that is `follower` when
// one is given and there, else at the end (before a final ";", which stays last).
std::string PathWithFolder(const std::string& path, const std::string& folder,
                           const std::string& follower = {});
// The entry after the first one naming the folder; empty when that one is
// last or the folder is not there.
std::string FolderFollower(const std::string& path, const std::string& folder);
// The path without any entry naming the folder; every other entry as it was.
std::string PathWithoutFolder(const std::string& path, const std::string& folder);
