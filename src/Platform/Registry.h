// Reading the registry: the lister's settings under HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Basics.h"

namespace Plat {

// Keys under HKEY_LOCAL_MACHINE, opened for reading only: reading is all the
// lister does, and users without administrator rights may always read.
Handle RegOpen(const std::string& subKey);
void RegClose(Handle key);
// The index-th value name of an open key (registry order); false past the end,
// and false with ErrorNoUnicodeTranslation for a name UTF-8 cannot carry (an
// unpaired surrogate): such a value can be neither read nor written by name.
bool RegEnumValueName(Handle key, std::uint32_t index, std::string& name);

enum class RegType { Missing, Dword, Binary, String, ExpandString, Other };
enum class RegRead { Ok, Missing, MoreData, Failed };
// Reads a value whatever its type into the data.size() bytes offered (the
// value's size as stored). Ok: data holds the value; a Dword arrives as its
// four bytes, low byte first, String and ExpandString data as UTF-8 without
// the terminating NUL. MoreData: the value is longer than that, and
// data.size() is now its size as stored (a writer may change it again before
// the next read). Missing: no such value. Failed: code in LastError().
RegRead RegReadValue(Handle key, const std::string& name, RegType& type,
                     std::vector<std::uint8_t>& data);

}  // namespace Plat
