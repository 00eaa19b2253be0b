// The machine-wide PATH, read and written by the configuration program's
// installer switches only.
#pragma once

#include <string>

namespace Plat {

// The machine-wide PATH as stored (the Path value of the system environment,
// variables unexpanded), in UTF-8; empty when there is none. Only the
// installer's switches of the configuration program touch it.
// False on failure (code in LastError()).
bool ReadSystemPath(std::string& path);
// Stores a new machine-wide PATH, keeping the value's type, and tells the
// running programs that the environment changed. False on failure (code in
// LastError()); a text that is not valid UTF-8 is refused, never stored.
bool WriteSystemPath(const std::string& path);

}  // namespace Plat
