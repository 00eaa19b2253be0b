// The single way the program ends from deep inside: EndProgram() unwinds to
// the driver, which returns exit code 0. Tests catch ProgramEnded.
#pragma once

struct ProgramEnded {
  int ExitCode = 0;
};

[[noreturn]] void EndProgram();
