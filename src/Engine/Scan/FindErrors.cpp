// What the scan says when a find-first fails, and which failures end the run.
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Engine/Scan/Scan.h"
#include "Format/ErrorText.h"
#include "Platform/Platform.h"
#include "Console/Console.h"

namespace {

std::string FindErrorMessage(std::uint32_t code) {
  switch (code) {
    case Plat::ErrorFileNotFound: return "No files found matching search specification";
    case Plat::ErrorPathNotFound:
      return DriveInvalid ? "Invalid drive specification" : "No files found";
    case Plat::ErrorNoMoreFiles: return Options.Recursive ? ErrorText(code) : "No files found";
    default: return ErrorText(code);
  }
}

// No match is reported later by the scan itself (or passed over in a walk),
// and a walk goes on past a directory it cannot reach; a missing drive never
// goes on.
bool GoesOn(std::uint32_t code) {
  if (DriveInvalid) return false;
  return code == Plat::ErrorFileNotFound || (code == Plat::ErrorPathNotFound && Options.Recursive);
}

}  // namespace

void ReportFindError(std::uint32_t code) {
  if (code == 0) return;
  EnsureOutput();
  if (GoesOn(code)) return;
  // A folder that is not there is a specification nothing matches.
  const bool nothingMatched = code == Plat::ErrorFileNotFound ||
                              (code == Plat::ErrorPathNotFound && !DriveInvalid) ||
                              (code == Plat::ErrorNoMoreFiles && !Options.Recursive);
  FatalError(FindErrorMessage(code), true,
             nothingMatched ? ExitCode::NothingFound : ExitCode::Failed);
}
