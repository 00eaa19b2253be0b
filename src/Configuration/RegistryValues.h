// Typed reads of registry values, shared by the lister and OConfig.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Registry.h"

enum class ValueRead { Ok, Missing, WrongType, Unfetchable };

// An open key, closed when it goes out of scope.
class RegistryKey {
 public:
  explicit RegistryKey(Plat::Handle handle) : Handle(handle) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (IsOpen()) Plat::RegClose(Handle);
  }
  bool IsOpen() const { return Handle != Plat::InvalidHandle; }
  const Plat::Handle Handle;
};

// The first `limit` value names of a key, in the registry's order; names that
// cannot be converted are passed over (no call could name them).
std::vector<std::string> ValueNames(Plat::Handle key, std::size_t limit);
// A REG_DWORD.
ValueRead ReadDwordValue(Plat::Handle key, const std::string& name, std::uint32_t& value);
// A REG_BINARY of at most `maxLength` bytes (longer ones are the wrong type).
ValueRead ReadBinaryValue(Plat::Handle key, const std::string& name, std::size_t maxLength,
                          std::vector<std::uint8_t>& bytes);
// A plain or expandable string, cut at its first NUL.
ValueRead ReadStringValue(Plat::Handle key, const std::string& name, std::string& text);
