// The batch file's state for one run: the open work file, the lines not yet
// written, what its first lines must do, and the names left out by reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Names the command interpreter cannot carry safely get no line; they are
// counted by reason (BatchRefusal numbers them) and reported once at the end
// of the run.
constexpr int BatchRefusalReasons = 12;
struct BatchLeftOutCounts {
  int ByReason[BatchRefusalReasons] = {};
  int Total() const {
    int total = 0;
    for (int count : ByReason) total += count;
    return total;
  }
};

// The batch file of one run.
struct BatchFileState {
  std::intptr_t Handle = -1;  // the open work file, -1 when none
  std::string WorkName;       // the work file's name, relative to the working directory
  std::string Buffer;         // batch bytes not yet written to the file
  std::string WorkDirectory;  // the full path of the folder that holds it, with its "\"
  bool Failed = false;        // creating or writing failed: warned once, never put in place
  bool Utf8 = false;          // a line needed more than the ANSI code page: the file is UTF-8
  bool Guarded = false;       // a line holds "!": the file turns delayed expansion off first
  bool AnyLine = false;       // a line (and the first lines it needs) went into the file
  bool Ended = true;          // no run has it open: nothing to close
  BatchLeftOutCounts LeftOut;
  // Room reused by every line: the entry's path, its line, the line's bytes in
  // the file's encoding and in UTF-16 on the way to the ANSI code page.
  std::string PathScratch, LineScratch, BytesScratch;
  std::u16string WideScratch;
};

