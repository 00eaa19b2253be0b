// One file specification to the directory, mask and search pattern the scan
// uses, and the drive's cluster figures on the first call.
#include "Engine/CommandLine/FileSpec.h"

#include <algorithm>

#include "Common/Options.h"
#include "Common/FileSpecState.h"
#include "Console/Console.h"
#include "Disk/DirectoryExists.h"
#include "Disk/DiskSpace.h"
#include "Format/ErrorText.h"
#include "Platform/Files.h"

namespace {

// Parsing is start-up work: it settles RunSpec.
RunSpecRec& Spec() { return StartupRunSpec(); }

bool IsUnc(const std::string& spec) {
  return spec.size() >= 2 && spec[0] == '\\' && spec[1] == '\\';
}

// \\SERVER\SHARE (or \\SERVER\): exactly one more backslash after the two.
bool IsShareRoot(const std::string& spec) {
  return IsUnc(spec) && std::count(spec.begin() + 2, spec.end(), '\\') == 1;
}

bool IsDriveRoot(const std::string& spec) {
  return (spec.size() == 2 && spec[1] == ':') ||
         (spec.size() == 3 && spec[1] == ':' && spec[2] == '\\');
}

// README. asks for names without an extension; ".." is no such dot, "." is.
bool EndsInSingleDot(const std::string& spec) {
  if (spec.empty() || spec.back() != '.') return false;
  return spec.size() == 1 || spec[spec.size() - 2] != '.';
}

void SetShareRoot(const std::string& spec) {
  Spec().CurrentDir = spec + "\\";
  Spec().FileBase = '*';
  Spec().SearchSpec = Spec().CurrentDir + "*";
}

// Sets RunSpec's CurrentDir, FileExt, FileBase and FileMask from a full path.
void SplitPath(const std::string& path, bool trailingDot) {
  std::size_t last = path.find_last_of("\\:");
  std::size_t nameStart = last == std::string::npos ? 0 : last + 1;
  Spec().CurrentDir = path.substr(0, nameStart);
  if (Spec().CurrentDir.empty() || Spec().CurrentDir.back() != '\\') Spec().CurrentDir += "\\";
  std::string name = path.substr(nameStart);
  std::size_t dot = name.rfind('.');
  Spec().FileExt = dot == std::string::npos ? std::string() : name.substr(dot);
  Spec().FileBase = name.substr(0, name.size() - Spec().FileExt.size());
  Spec().FileMask = trailingDot ? name + "." : name;
}

// A path without wildcards or final backslash that names an existing
// directory is listed whole.
bool NamesWholeDirectory(const std::string& path) {
  if (path.empty() || path == "\\" || IsDriveRoot(path) || path.back() == '\\') return false;
  if (path.find_first_of("*?") != std::string::npos) return false;
  return DirectoryExistsAt(path);
}

// The user's own specification may name a directory; during a recursive walk
// the file specification is a pending directory plus the user's mask, and a
// subdirectory that happens to bear the mask's name must not replace it.
// A path the full-path service refuses is reported as it stands; listing
// some other directory in its place would be a wrong answer.
[[noreturn]] void RefusePath(const std::string& spec) {
  std::uint32_t error = Plat::LastError();
  Spec().SearchSpec = spec;
  ConsoleEngine.ReportPath = spec;
  FatalError(ErrorText(error != 0 ? error : Plat::ErrorInvalidName), true);
}

void ParsePath(std::string spec, bool usersOwnSpec) {
  // Blanks alone ask for nothing in particular, as no specification does.
  if (spec.find_first_not_of(' ') == std::string::npos) spec = '*';
  bool trailingDot = EndsInSingleDot(spec);
  // The full-path service drops a final dot; the flag remembers it.
  if (trailingDot && spec.size() > 1) spec.pop_back();
  std::string full;
  if (!IsUnc(spec)) {
    if (!Plat::FullPathName(spec, full)) RefusePath(spec);
    spec = full;
  }
  // A final dot after no name ("." at a root), or after a directory that is
  // listed whole, would search for the directory entry itself.
  if (spec.empty() || spec.back() == '\\' || spec.back() == ':') trailingDot = false;
  SplitPath(spec, trailingDot);
  if (usersOwnSpec && NamesWholeDirectory(spec)) {
    spec += "\\";
    Spec().CurrentDir = spec;
    Spec().FileBase.clear();
    Spec().FileExt.clear();
    Spec().FileMask.clear();
    trailingDot = false;
  }
  if (trailingDot)
    Spec().SearchSpec = spec + ".";
  else if (Spec().FileMask.find('.') != std::string::npos || spec.back() == '*')
    Spec().SearchSpec = spec;
  else
    Spec().SearchSpec = spec + "*";  // a mask without a dot is a prefix
}

void ReadDriveFigures() {
  char drive = Spec().SearchSpec.empty() ? 0 : Spec().SearchSpec[0];
  Spec().DriveNumber = static_cast<std::uint8_t>(static_cast<unsigned char>(drive) - 64);
  const DriveClusters figures = QueryDriveClusters(drive);
  Spec().SectorsPerCluster = figures.Geometry.SectorsPerCluster;
  Spec().BytesPerSector = figures.Geometry.BytesPerSector;
  Spec().FreeClusters = figures.Geometry.FreeClusters;
  Spec().TotalClusters = figures.Geometry.TotalClusters;
  Spec().ClusterSize = figures.ClusterSize;
  Spec().NoClusterSize = figures.ClusterSize == 0;
  Spec().DriveInvalid = figures.DriveMissing;
}

}  // namespace

void ParseFileSpec(const std::string& spec) {
  bool firstCall = Spec().DriveNumber == 255;
  if (IsShareRoot(spec))
    SetShareRoot(spec);
  else
    ParsePath(spec, firstCall);
  if (firstCall) ReadDriveFigures();
  // A fatal report names the first directory until the listing names its own.
  ConsoleEngine.ReportPath = RunSpec.SearchSpec;
}
