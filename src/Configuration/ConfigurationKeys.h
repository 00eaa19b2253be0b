// Where the configuration lives: the keys under HKEY_LOCAL_MACHINE and their
// value names, shared by the lister (which reads them) and OConfig (which writes them).
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr const char* ExtensionsKey =
    "\\SOFTWARE\\Brackwater\\Orvalist\\Colours\\Extensions";
inline constexpr const char* DisplayKey = "\\SOFTWARE\\Brackwater\\Orvalist\\Colours\\Display";
inline constexpr const char* SettingsKey = "\\SOFTWARE\\Brackwater\\Orvalist\\Settings";

inline constexpr const char* EntitiesValue = "Entities";         // display colours, binary
inline constexpr const char* SwitchesValue = "DefaultSwitches";  // preset switches, string
inline constexpr const char* DateValue = "DefaultDate";          // date pattern, string
// In Settings while OConfig's first write is under way: until it is gone the
// set is not whole, and the lister starts OConfig as on a first run.
inline constexpr const char* UnfinishedValue = "FirstWriteUnfinished";
// In Settings after OConfig /UNINSTALL took the program's folder off the
// system PATH: the entry that followed it, so that the next /INSTALL (an
// upgrade's) puts it back in its place.
inline constexpr const char* PathPlaceValue = "PathPlace";

inline constexpr std::size_t DisplayColourCount = 11;  // bytes of Entities
// The largest number an extension's colour value may hold: a console attribute.
inline constexpr std::uint32_t MaxColourAttribute = 255;
