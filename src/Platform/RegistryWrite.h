// Writing the registry: used only by the configuration program, so the
// lister never links these calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Registry.h"

namespace Plat {

// RegCreateKeyExW: creates the key (and its parents) or opens it, for reading
// and writing; InvalidHandle on failure (code in LastError()).
Handle RegCreate(const std::string& subKey);
// RegSetValueExW with Dword, Binary or String data (a String is given in UTF-8
// and stored with its terminating NUL); false on failure (code in LastError()).
bool RegWriteValue(Handle key, const std::string& name, RegType type,
                   const std::vector<std::uint8_t>& data);
// RegDeleteValueW; false on failure (code in LastError()).
bool RegDeleteValue(Handle key, const std::string& name);
// RegDeleteKeyW of a key without subkeys; false on failure (code in LastError()).
bool RegDeleteKey(const std::string& subKey);

}  // namespace Plat
