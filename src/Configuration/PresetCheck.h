// Whether preset switch text lets the lister run at all, for the
// configuration program.
#pragma once

#include <string>

// Tries `text` as the preset switches of a run without arguments, on scratch
// copies of everything start-up changes, through every step start-up takes
// with the command line before a directory is read. False with the reason for
// people when that run could not list; `warning` (when given) tells of a
// drive the text names that is missing now, which may be a removable one.
bool PresetSwitchesAccepted(const std::string& text, std::string& reason,
                            std::string* warning = nullptr);
