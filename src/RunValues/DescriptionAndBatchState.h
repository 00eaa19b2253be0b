// The two plain files a run touches: the description tables of a directory
// (from its DESCRIPT.ION, held by its listing) and the batch file of /@.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One accepted line of a description file.
struct DescriptionRecord {
  std::string Name;            // upper-cased (a to z), at most 13 characters, no leading quote
  std::int32_t LineIndex = 0;  // 1-based position of its text in DescriptionTexts
};

constexpr std::size_t DescriptionPoolSlots = 100000;  // records kept per description file

// Names the command interpreter cannot carry safely get no line; they are
// counted by reason (Engine/Batch numbers the reasons) and reported once at
// the end of the run.
constexpr int BatchRefusalReasons = 10;
struct BatchLeftOutCounts {
  int ByReason[BatchRefusalReasons] = {};
  int Total() const {
    int total = 0;
    for (int count : ByReason) total += count;
    return total;
  }
};

// The run's own file, which takes the batch file's place at the end.
inline constexpr const char* BatchWorkFileName = "!OVBATCH.NEW";

// The batch file of one run.
struct BatchFileState {
  std::intptr_t Handle = -1;  // the open !OVBATCH.NEW, -1 when none
  std::string Buffer;         // batch bytes not yet written to the file
  std::string WorkDirectory;  // the full path of the folder that holds it, with its "\"
  bool Failed = false;        // creating or writing failed: warned once, no more lines
  bool Utf8 = false;          // a line needed more than the ANSI code page: the file is UTF-8
  bool HeaderWritten = false; // the lines that set the interpreter up are in the file
  BatchLeftOutCounts LeftOut;
};

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

// The batch file of /@, kept for the whole run.
struct RunFilesRec {
  BatchFileState BatchFile;
};
extern RunFilesRec RunFiles;
