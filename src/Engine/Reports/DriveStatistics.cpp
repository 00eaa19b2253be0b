// /I: the figures of the drive of the file specification, from the
// cluster-based query, the volume query and, on 95 OSR2 and 98, the extended
// query for drives beyond the cluster counts.
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Disk/DiskSpace.h"
#include "Engine/Reports/DriveReport.h"
#include "Engine/Reports/Reports.h"
#include "Format/ErrorText.h"
#include "Platform/Volumes.h"

namespace {

constexpr std::uint8_t NetworkRefusalAttribute = 12;

void RefuseNetworkPath() {
  if (RunSpec.CurrentDir.size() < 2 || RunSpec.CurrentDir[0] != '\\' ||
      RunSpec.CurrentDir[1] != '\\')
    return;
  WriteLine("This feature is not supported on network volumes", 1, NetworkRefusalAttribute);
  FWriteFinish();
  EndProgram(ExitCode::Failed);
}

// Fills the byte figures from the cluster counts; returns the error code of a
// failed query (0 on success). A drive that does not exist ends the run.
std::uint32_t ReadClusterFigures(char driveLetter, DriveFigures& drive) {
  const DriveClusters figures = QueryDriveClusters(driveLetter);
  if (figures.DriveMissing) FatalError("Invalid Drive Specification", false);
  drive.TotalBytes = std::int64_t{figures.Geometry.TotalClusters} * figures.ClusterSize;
  drive.FreeBytes = std::int64_t{figures.Geometry.FreeClusters} * figures.ClusterSize;
  return figures.Error;
}

void ReadVolume(const std::string& root, DriveFigures& drive) {
  drive.VolumeKnown = Plat::VolumeInformation(root, drive.Volume);
  if (!drive.VolumeKnown) drive.Volume = {};
}

// Without a size there is nothing to divide by: say why instead of a report.
void RequireSize(const DriveFigures& drive, std::uint32_t clusterError) {
  if (drive.TotalBytes > 0) return;
  FatalError(clusterError != 0 ? ErrorText(clusterError) : "Drive size not available", false);
}

}  // namespace

void ShowDriveStatistics() {
  RefuseNetworkPath();
  DriveFigures drive;
  drive.DriveLetter = RunSpec.SearchSpec.empty() ? '?' : RunSpec.SearchSpec[0];
  const std::string root =
      std::string(1, RunSpec.CurrentDir.empty() ? '?' : RunSpec.CurrentDir[0]) + ":\\";
  std::uint32_t clusterError = ReadClusterFigures(root[0], drive);
  ReadVolume(root, drive);
  if (Options.IsWin95OSR2) QueryDiskSpace(drive.DriveLetter, drive.TotalBytes, drive.FreeBytes);
  RequireSize(drive, clusterError);
  WriteDriveReport(drive);
  FWriteFinish();
  EndProgram();
}
