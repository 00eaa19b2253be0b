// One file specification to the directory, mask and search pattern the scan
// uses, and the drive's cluster figures on the first call.
#include "Engine/CommandLine/FileSpec.h"

#include <algorithm>

#include "RunValues/Options.h"
#include "RunValues/FileSpecState.h"
#include "Console/Console.h"
#include "Disk/DirectoryExists.h"
#include "Disk/DiskSpace.h"
#include "Format/ErrorText.h"
#include "Platform/Files.h"

namespace {

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

void SetShareRoot(RunSpecRec& into, const std::string& spec) {
  into.CurrentDir = spec + "\\";
  into.FileBase = '*';
  into.SearchSpec = into.CurrentDir + "*";
}

// Sets CurrentDir, FileExt, FileBase and FileMask from a full path.
void SplitPath(RunSpecRec& into, const std::string& path, bool trailingDot) {
  std::size_t last = path.find_last_of("\\:");
  std::size_t nameStart = last == std::string::npos ? 0 : last + 1;
  into.CurrentDir = path.substr(0, nameStart);
  if (into.CurrentDir.empty() || into.CurrentDir.back() != '\\') into.CurrentDir += "\\";
  std::string name = path.substr(nameStart);
  std::size_t dot = name.rfind('.');
  into.FileExt = dot == std::string::npos ? std::string() : name.substr(dot);
  into.FileBase = name.substr(0, name.size() - into.FileExt.size());
  into.FileMask = trailingDot ? name + "." : name;
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
[[noreturn]] void RefusePath(RunSpecRec& into, const std::string& spec) {
  std::uint32_t error = Plat::LastError();
  into.SearchSpec = spec;
  ConsoleEngine.ReportPath = spec;
  FatalError(ErrorText(error != 0 ? error : Plat::ErrorInvalidName), true);
}

void ParsePath(RunSpecRec& into, std::string spec, bool usersOwnSpec) {
  // Blanks alone ask for nothing in particular, as no specification does.
  if (spec.find_first_not_of(' ') == std::string::npos) spec = '*';
  bool trailingDot = EndsInSingleDot(spec);
  // The full-path service drops a final dot; the flag remembers it.
  if (trailingDot && spec.size() > 1) spec.pop_back();
  std::string full;
  if (!IsUnc(spec)) {
    if (!Plat::FullPathName(spec, full)) RefusePath(into, spec);
    spec = full;
  }
  // A final dot after no name ("." at a root), or after a directory that is
  // listed whole, would search for the directory entry itself.
  if (spec.empty() || spec.back() == '\\' || spec.back() == ':') trailingDot = false;
  SplitPath(into, spec, trailingDot);
  if (usersOwnSpec && NamesWholeDirectory(spec)) {
    spec += "\\";
    into.CurrentDir = spec;
    into.FileBase.clear();
    into.FileExt.clear();
    into.FileMask.clear();
    trailingDot = false;
  }
  if (trailingDot)
    into.SearchSpec = spec + ".";
  else if (into.FileMask.find('.') != std::string::npos || spec.back() == '*')
    into.SearchSpec = spec;
  else
    into.SearchSpec = spec + "*";  // a mask without a dot is a prefix
}

void ReadDriveFigures(RunSpecRec& into) {
  char drive = into.SearchSpec.empty() ? 0 : into.SearchSpec[0];
  into.DriveNumber = static_cast<std::uint8_t>(static_cast<unsigned char>(drive) - 64);
  const DriveClusters figures = QueryDriveClusters(drive);
  into.SectorsPerCluster = figures.Geometry.SectorsPerCluster;
  into.BytesPerSector = figures.Geometry.BytesPerSector;
  into.FreeClusters = figures.Geometry.FreeClusters;
  into.TotalClusters = figures.Geometry.TotalClusters;
  into.ClusterSize = figures.ClusterSize;
  into.NoClusterSize = figures.ClusterSize == 0;
  into.DriveInvalid = figures.DriveMissing;
}

}  // namespace

void ParseFileSpecInto(RunSpecRec& into, const std::string& spec) {
  bool firstCall = into.DriveNumber == 255;
  if (IsShareRoot(spec))
    SetShareRoot(into, spec);
  else
    ParsePath(into, spec, firstCall);
  if (firstCall) ReadDriveFigures(into);
}
