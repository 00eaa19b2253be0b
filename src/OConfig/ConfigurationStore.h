// Reading the configuration as the lister would use it, and writing changes
// to it value by value, one writer at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "OConfig/ConfigurationSet.h"

// A stored value (or missing key) the lister cannot use: what, why, and what
// a repair writes in its place.
struct ConfigurationFault {
  std::string What;    // e.g. "TXT in Colours\Extensions"
  std::string Why;     // e.g. "orvl stops with "Invalid data type for 'TXT'""
  std::string Repair;  // e.g. "set to 11, its default"
};

struct StoredConfiguration {
  ConfigurationSet Set;  // what the lister uses; defaults where nothing usable is stored
  bool AnyKey = false;   // some configuration key exists (no key at all: a first run)
  bool HasExtensionsKey = false, HasDisplayKey = false, HasSettingsKey = false;
  bool EntitiesUsable = false, SwitchesUsable = false, DateUsable = false;
  bool Unfinished = false;  // a first write stopped before its end: the set is not whole
  // Extension names are held in upper case, the only case the lister matches;
  // these were stored in another (upper-case name -> name as stored).
  std::unordered_map<std::string, std::string> OtherCaseNames;
  std::vector<std::string> UnusableExtensions;  // upper-case names the lister cannot use
  std::size_t UnconvertibleNames = 0;           // values no call can name: never touched
  std::vector<ConfigurationFault> Faults;
};

// The Extensions key exists: the lister takes that as "configured".
bool ConfigurationExists();
// What the registry holds, with every value the lister could not use.
StoredConfiguration LoadConfiguration();
// The stored set with defaults in place of what cannot be used: unusable
// extensions get their default colour (or go, without one), missing or
// unusable colours and settings their defaults; an unfinished first write is
// completed with the default extensions it had not written.
ConfigurationSet RepairedSet(const StoredConfiguration& stored);

struct StoreResult {
  std::uint32_t Error = 0;  // 0: every change written
  bool PutBack = true;      // after a failure: every value written was given its old content again
};
// Writes the values of `next` that differ from `stored` or cannot be used,
// and deletes the extensions `next` no longer has (only those: a key is never
// deleted, nor a value this run did not read). Each value is one registry
// write, the Extensions key last. A first write is marked unfinished before
// its first value and the mark taken off after its last. A failure puts back
// what was written.
StoreResult StoreConfiguration(const StoredConfiguration& stored, const ConfigurationSet& next);

// Held from reading the configuration to its last write, so that writers take
// turns; Taken() is false when another writer kept it past the timeout.
class ConfigurationLock {
 public:
  static constexpr std::uint32_t TimeoutMs = 5000;
  ConfigurationLock();
  ~ConfigurationLock();
  ConfigurationLock(const ConfigurationLock&) = delete;
  ConfigurationLock& operator=(const ConfigurationLock&) = delete;
  bool Taken() const;
  std::uint32_t Error() const { return error_; }

 private:
  std::intptr_t handle_;
  std::uint32_t error_ = 0;
};
