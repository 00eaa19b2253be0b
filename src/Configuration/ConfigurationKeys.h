// Where the configuration lives: the keys under HKEY_LOCAL_MACHINE and their
// value names, shared by the lister (which reads them) and OConfig (which writes them).
#pragma once

#include <cstddef>

inline constexpr const char* ExtensionsKey =
    "\\SOFTWARE\\Brackwater\\Orvalist\\Colours\\Extensions";
inline constexpr const char* DisplayKey = "\\SOFTWARE\\Brackwater\\Orvalist\\Colours\\Display";
inline constexpr const char* SettingsKey = "\\SOFTWARE\\Brackwater\\Orvalist\\Settings";

inline constexpr const char* EntitiesValue = "Entities";         // display colours, binary
inline constexpr const char* SwitchesValue = "DefaultSwitches";  // preset switches, string
inline constexpr const char* DateValue = "DefaultDate";          // date pattern, string

inline constexpr std::size_t DisplayColourCount = 11;  // bytes of Entities
