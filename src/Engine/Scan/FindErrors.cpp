// What the scan says when a find-first fails, and which failures end the run.
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Console/Console.h"
#include "Engine/Scan/Scan.h"
#include "Format/ErrorText.h"
#include "Platform/Basics.h"

std::string FindErrorMessage(std::uint32_t code) {
  switch (code) {
    case Plat::ErrorFileNotFound: return "No files found matching search specification";
    case Plat::ErrorPathNotFound:
      return RunSpec.DriveInvalid ? "Invalid drive specification" : "No files found";
    case Plat::ErrorNoMoreFiles: return Options.Recursive ? ErrorText(code) : "No files found";
    default: return ErrorText(code);
  }
}

bool FindErrorGoesOn(std::uint32_t code) {
  if (RunSpec.DriveInvalid) return false;
  return code == Plat::ErrorFileNotFound || (code == Plat::ErrorPathNotFound && Options.Recursive);
}

ExitCode FindErrorExitCode(std::uint32_t code) {
  const bool nothingMatched = code == Plat::ErrorFileNotFound ||
                              (code == Plat::ErrorPathNotFound && !RunSpec.DriveInvalid) ||
                              (code == Plat::ErrorNoMoreFiles && !Options.Recursive);
  return nothingMatched ? ExitCode::NothingFound : ExitCode::Failed;
}

void ReportFindError(std::uint32_t code) {
  if (code == 0) return;
  EnsureOutput();
  if (FindErrorGoesOn(code)) return;
  FatalError(FindErrorMessage(code), true, FindErrorExitCode(code));
}
