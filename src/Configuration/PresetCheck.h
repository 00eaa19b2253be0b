// Whether preset switch text lets the lister run at all, for the
// configuration program and for the lister's own start-up.
#pragma once

#include <string>

// Tries `text` as the preset switches of a run without arguments, on scratch
// copies of everything start-up changes, through every step start-up takes
// with the command line before a directory is read. False with the reason for
// people when that run could not list; `warning` (when given) tells of a
// drive the text names that is missing now, which may be a removable one.
bool PresetSwitchesAccepted(const std::string& text, std::string& reason,
                            std::string* warning = nullptr);
// Why the words of preset switch text cannot be applied: a switch that must
// not be preset (/SET, /?, /@) or one the lister does not accept; empty when
// they can. Only the switch words are tried, on scratch copies.
std::string PresetSwitchWordsRefusal(const std::string& text);
// At start-up: when the stored preset switches cannot be applied, ends the
// run (exit 3) showing them, why, and how to repair them; the run's own
// arguments are not at fault then.
void RefuseUnusablePresetSwitches(const std::string& text);
