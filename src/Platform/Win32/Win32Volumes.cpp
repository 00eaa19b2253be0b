// Volume information and free space; the extended free-space call is looked
// up at run time.
#include "Platform/Volumes.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

bool VolumeInformation(const std::string& root, VolumeInfo& info) {
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  if (!GetVolumeInformationW(ToWide(root).c_str(), label, MAX_PATH + 1, &serial, &maxComponent,
                             &flags, fileSystem, MAX_PATH + 1))
    return false;
  info.Label = FromWide(label);
  info.FileSystem = FromWide(fileSystem);
  info.MaxComponentLength = maxComponent;
  info.FileSystemFlags = flags;
  return true;
}

bool DiskFreeSpace(const std::string& root, DiskGeometry& geometry) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceW(ToWide(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters))
    return false;
  geometry = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  return true;
}

namespace {

using DiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                              PULARGE_INTEGER);

struct DiskFreeSpaceExLookup {
  ServiceLookup Result = ServiceLookup::LibraryMissing;
  DiskFreeSpaceExFunction Entry = nullptr;
};

// The first 95-family releases lack the extended call, so it is looked up at
// run time, once.
const DiskFreeSpaceExLookup& DiskFreeSpaceExService() {
  static bool lookedUp = false;
  static DiskFreeSpaceExLookup lookup;
  if (!lookedUp) {
    lookedUp = true;
    const HMODULE kernel = LoadLibraryA("KERNEL32.DLL");
    if (kernel) {
      // Through void(*)(), the one function type every other converts to quietly.
      const auto generic =
          reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetDiskFreeSpaceExW"));
      lookup.Entry = reinterpret_cast<DiskFreeSpaceExFunction>(generic);
      lookup.Result = lookup.Entry ? ServiceLookup::Found : ServiceLookup::EntryMissing;
    }
  }
  return lookup;
}

DiskFreeSpaceExFunction DiskFreeSpaceExEntry() { return DiskFreeSpaceExService().Entry; }

}  // namespace

ServiceLookup LookUpDiskFreeSpaceEx() { return DiskFreeSpaceExService().Result; }

bool DiskFreeSpaceEx(const std::string& root, DiskSpaceEx& space) {
  const DiskFreeSpaceExFunction entry = DiskFreeSpaceExEntry();
  ULARGE_INTEGER freeToCaller, totalBytes, totalFree;
  if (!entry || !entry(ToWide(root).c_str(), &freeToCaller, &totalBytes, &totalFree)) return false;
  space = {freeToCaller.QuadPart, totalBytes.QuadPart, totalFree.QuadPart};
  return true;
}

}  // namespace Plat
