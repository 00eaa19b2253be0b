// The two plain files a run touches: the description tables of a directory
// (from its DESCRIPT.ION, held by its listing), and the names of the batch
// file of /@ and of the work files it is written into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Base/AsciiCase.h"

// One accepted line of a description file.
struct DescriptionRecord {
  std::string Name;            // upper-cased (a to z), at most 13 characters, no leading quote
  std::int32_t LineIndex = 0;  // 1-based position of its text in DescriptionTexts
};

constexpr std::size_t DescriptionPoolSlots = 100000;  // records kept per description file

// The batch file, and the start and end of each run's own work file
// ("!OVBATCH.<process>.NEW"), which takes the batch file's place at the end.
inline constexpr std::string_view BatchFileName = "!OVBATCH.BAT";
inline constexpr std::string_view BatchWorkPrefix = "!OVBATCH.";
inline constexpr std::string_view BatchWorkSuffix = ".NEW";

// Batch mode passes over these names in the working directory: a line for
// the batch file would rewrite the script being run, one for a work file
// (this run's, another's or a killed run's) would act on a file nobody listed.
inline bool IsBatchRunFileName(std::string_view name) {
  if (EqualAsciiFolded(name, BatchFileName)) return true;
  return name.size() >= BatchWorkPrefix.size() + BatchWorkSuffix.size() - 1 &&
         StartsAsciiFolded(name, BatchWorkPrefix) &&
         EqualAsciiFolded(name.substr(name.size() - BatchWorkSuffix.size()), BatchWorkSuffix);
}

// The description tables of one directory, from its DESCRIPT.ION. The pool and
// text slots keep their room from one directory to the next.
struct DescriptionTable {
  std::vector<DescriptionRecord> Pool;  // slots reused by every directory
  std::vector<std::int32_t> Index;      // pool slots of this directory, by Name
  std::vector<std::string> Texts;       // text slots, reused; valid up to the count
  std::size_t TextCount = 0;            // texts of this directory
  bool Here = false;                    // the directory has descriptions

  void Clear() {
    Index.clear();
    TextCount = 0;
    Here = false;
  }
};
