// The fuzz driver's simulated world: drives, directories and entries, the
// console, the system and the locale, each shaped by the input's back bytes.
// Included once, by RunFuzz.cpp, after FuzzInput.h.
#pragma once

#include <string>

#include "Configuration/ConfigurationKeys.h"
#include "FuzzInput.h"
#include "Platform/Sim/SimPlatform.h"
#include "SimulatedWorld.h"

namespace {

// ---------------------------------------------------------------- the world

Plat::FileTime RandomTime(ByteSource& in) {
  switch (Pick(in, 8)) {
    case 5: return {};
    case 6: return {0xFFFFFFFFu, Rare(in) ? 0xFFFFFFFFu : 0x7FFFFFFFu};
    case 7:
      return {static_cast<std::uint32_t>(ShapeWord(in, 4)),
              static_cast<std::uint32_t>(ShapeWord(in, 4))};
    default:
      return Sim::MakeFileTime(1980 + Pick(in, 100), 1 + Pick(in, 12), 1 + Pick(in, 28),
                               Pick(in, 24), Pick(in, 60), Pick(in, 60));
  }
}

std::uint64_t RandomSize(ByteSource& in) {
  static const std::uint64_t sizes[] = {0,
                                        1,
                                        999,
                                        1023,
                                        1024,
                                        1048575,
                                        1048576,
                                        (1ull << 30) - 1,
                                        1ull << 30,
                                        1ull << 40,
                                        0x7FFFFFFFFFFFFFFFull,
                                        0x8000000000000000ull,
                                        0xFFFFFFFFFFFFFFFFull};
  if (!Rare(in)) return ShapeWord(in, 1 + Pick(in, 4));
  return Rare(in) ? ShapeWord(in, 8) : sizes[Pick(in, std::size(sizes))];
}

std::string RandomName(ByteSource& in, int index) {
  std::string name;
  switch (Pick(in, 4)) {
    case 0: name = "FILE" + std::to_string(index) + (index % 3 ? ".TXT" : ".doc"); break;
    case 1: name = OddNames[Pick(in, std::size(OddNames))]; break;
    case 2: name = std::string(1 + Pick(in, 255), static_cast<char>('a' + index % 26)); break;
    default: name = FragmentText(in, Fragments, 3); break;
  }
  // No file system delivers a name holding a path separator, a colon or a NUL,
  // nor one of more than 255 characters (a few more bytes still meet the cut
  // a find call makes at 259).
  if (name.empty() || name.find_first_of(std::string("\\/:\0", 4)) != std::string::npos)
    name = "F" + std::to_string(index);
  if (name.size() > 300) name.resize(300);
  return name;
}

void AddRandomEntries(ByteSource& in, const std::string& directory, int count) {
  for (int i = 0; i < count; ++i) {
    Sim::Entry entry;
    entry.Name = RandomName(in, i);
    if (Rare(in)) entry.Alias = "ALIAS~" + std::to_string(i) + ".X";
    entry.Attributes = Rare(in) ? static_cast<std::uint32_t>(ShapeWord(in, 2)) : Plat::AttrArchive;
    entry.Attributes &= ~Plat::AttrDirectory;  // directories are made below
    entry.Creation = RandomTime(in);
    entry.Access = RandomTime(in);
    entry.Write = RandomTime(in);
    entry.Size = RandomSize(in);
    if (Rare(in)) entry.Owner = Rare(in) ? std::string(300, 'o') : "BUILTIN\\Administrators";
    if (Rare(in)) entry.Compressed = static_cast<std::int64_t>(ShapeWord(in, 8) >> Pick(in, 64));
    Sim::AddEntry(directory, entry);
  }
}

// Drive C varies now and then; D is always the same odd FAT drive.
void VaryDriveC(ByteSource& in) {
  const bool oddLabel = Rare(in);
  const bool oddSpace = Rare(in);
  if (!oddLabel && !oddSpace) return;
  Sim::Drive c;
  c.Label = oddLabel ? FragmentText(in, Fragments, 3) : "SYSTEM";
  if (oddSpace) {
    switch (Pick(in, 7)) {
      case 0: c.Geometry = {0, 0, 0, 0}; break;
      case 1: c.Geometry = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}; break;
      case 2: c.Geometry = {128, 4096, 0xFFFFFFFFu, 0xFFFFFFFFu}; break;
      case 3: c.FreeSpaceError = Pick(in, 2) ? 21 : 15; break;
      case 4: c.VolumeQueryFails = true; break;
      case 5: c.HasFreeSpaceEx = false; break;
      default: c.SpaceEx = {~0ull, ~0ull, ~0ull}; break;
    }
  }
  Sim::AddDrive(c);
}

const char* const BaseDirectories[] = {"C:\\DIR", "C:\\DIR\\SUB", "C:\\DIR\\SUB\\DEEP",
                                       "C:\\A B", "C:\\x.y.z",    "C:\\\xe9t\xe9",
                                       "D:\\DATA"};

// The machine every run starts from, built once and put back after each run
// (Sim::RestoreWorld): two drives, a few directories, each with plain files.
void BuildBaseWorld() {
  ResetWorld();
  Sim::Drive c;
  c.Label = "SYSTEM";
  Sim::AddDrive(c);
  Sim::Drive d;
  d.Letter = 'D';
  d.Label = "\xff\x80 odd";
  d.FileSystem = "FAT";
  d.Geometry = {64, 512, 12, 65535};
  Sim::AddDrive(d);
  for (const char* directory : BaseDirectories) Sim::AddDirectory(directory);
  Sim::AddDirectory("C:\\" + std::string(240, 'L'));
  Sim::AddDirectory("C:\\DIR\\SYS", Plat::AttrDirectory | Plat::AttrHidden | Plat::AttrSystem);
  for (const char* directory : BaseDirectories) {
    Sim::AddFile(directory, "README.TXT", 1234, Sim::MakeFileTime(1999, 12, 31, 23, 59));
    Sim::AddFile(directory, "setup.exe", 3ull << 20, Sim::MakeFileTime(2000, 2, 29, 12));
    Sim::AddFile(directory, "NOEXT", 0, Sim::MakeFileTime(2026, 12, 1, 7));
  }
  Sim::AddConfiguration();
  Sim::KeepScreensAtKeyReads(false);
  Sim::SaveWorld();
}

// The input's own part of the world, added to the base one. Its size is
// bounded, so that a run stays cheap: a few entries a directory, and now and
// then one directory of a few hundred.
void BuildWorld(ByteSource& in) {
  VaryDriveC(in);
  // Directories with odd names too: trailing dots and blanks, long names.
  for (int i = Rare(in) ? 1 + Pick(in, 4) : 0; i > 0; --i) {
    std::string name = RandomName(in, i);
    std::string path = std::string(Pick(in, 2) ? "C:\\DIR\\" : "C:\\") + name;
    if (Verbose) std::printf("directory [%s]\n", path.c_str());
    Sim::AddDirectory(path);
  }
  for (const char* directory : BaseDirectories) AddRandomEntries(in, directory, Pick(in, 6));
  AddRandomEntries(in, "C:\\", Pick(in, 12));
  if (Rare(in) && Rare(in)) {  // one directory with many entries
    int many = 200 + static_cast<int>(ShapeWord(in, 2) % 1000);
    for (int i = 0; i < many; ++i)
      Sim::AddFile("C:\\DIR\\SUB", "MANY" + std::to_string(i * 7919 % many) + ".DAT",
                   static_cast<std::uint64_t>(i) * 104729u,
                   Sim::MakeFileTime(2001, 1 + i % 12, 1 + i % 28));
  }
  if (Rare(in)) Sim::SetWorkingDirectory(Pick(in, 2) ? "C:\\DIR" : "D:\\DATA");
  if (Rare(in)) Sim::FailDirectory("C:\\DIR\\SUB", Pick(in, 2) ? 5 : ShapeWord(in, 4));
}

void BuildConsole(ByteSource& in) {
  if (Pick(in, 3) == 0) {
    Sim::SetRedirected();
    return;
  }
  int columns = 40 + Pick(in, 93);
  int rows = 5 + Pick(in, 46);
  if (Rare(in)) {
    columns = 1 + Pick(in, 39);
    rows = 1 + Pick(in, 6);
  } else if (Rare(in)) {
    columns = 133 + static_cast<int>(ShapeWord(in, 2) % 900);
    rows = 50 + Pick(in, 250);
  }
  Sim::SetConsole(columns, rows, Pick(in, rows));
  std::string keys = Pick(in, 2) ? std::string(1 + Pick(in, 200), ' ') : std::string();
  for (int i = Pick(in, 20); i > 0; --i) keys += KeyPieces[Pick(in, std::size(KeyPieces))];
  Sim::PushKeys(keys);
  if (Rare(in)) Sim::FailNextConsoleWrite();
}

void BuildSystem(ByteSource& in) {
  if (Rare(in)) {
    switch (Pick(in, 3)) {
      case 0: Sim::SetVersion(1, 950); break;
      case 1: Sim::SetVersion(1, 1111); break;
      default: Sim::SetVersion(2, 1381, true); break;
    }
  }
  if (Rare(in)) Sim::SetPrivilegeResult(false);
  if (Rare(in)) Sim::SetFreeSpaceExService(false);
  if (Rare(in)) {
    Plat::CalendarTime now{1 + static_cast<int>(ShapeWord(in, 2) % 9999),
                           1 + Pick(in, 12),
                           0,
                           1 + Pick(in, 28),
                           Pick(in, 24),
                           Pick(in, 60),
                           Pick(in, 60),
                           Pick(in, 1000)};
    Sim::SetNow(now);
  }
  if (Rare(in)) Sim::SetTimeZoneBias(static_cast<std::int16_t>(ShapeWord(in, 2)));
  if (Rare(in)) Sim::FailTimeConversion(true);
  if (Rare(in)) {
    constexpr std::uint32_t OutputCodePages[] = {437, 1252, 65001};
    Sim::SetConsoleOutputCodePage(OutputCodePages[Pick(in, 3)]);
  }
}

// The configuration in the registry, as a user or another program may have
// written it: preset switches, a date pattern, extension and display colours,
// and now and then one that cannot be read or was never finished.
void BuildRegistry(ByteSource& in) {
  if (Rare(in))
    Sim::SetRegistryString(SettingsKey, SwitchesValue,
                           SwitchArgument(in) + " " + SwitchArgument(in));
  if (Rare(in)) Sim::SetRegistryString(SettingsKey, DateValue, FragmentText(in, PatternPieces, 10));
  if (Rare(in)) {
    for (int i = 1 + Pick(in, 6); i > 0; --i)
      Sim::SetRegistryDword(ExtensionsKey, FragmentText(in, Fragments, 2),
                            static_cast<std::uint32_t>(ShapeWord(in, Pick(in, 2) ? 1 : 4)));
  }
  if (Rare(in)) {
    std::vector<std::uint8_t> colours(Pick(in, 2 * DisplayColourCount));
    for (auto& colour : colours) colour = ShapeByte(in);
    Sim::SetRegistryBinary(DisplayKey, EntitiesValue, colours);
  }
  if (!Rare(in) || !Rare(in)) return;
  switch (Pick(in, 5)) {
    case 0: Sim::FailRegistryOpen(ExtensionsKey, 2); break;  // a first run
    case 1: Sim::FailRegistryOpen(Pick(in, 2) ? DisplayKey : SettingsKey, 5); break;
    case 2: Sim::SetRegistryDword(SettingsKey, UnfinishedValue, 1); break;
    case 3:
      Sim::SetRegistryValue(SettingsKey, Pick(in, 2) ? SwitchesValue : DateValue,
                            Plat::RegType::Dword, {1, 0, 0, 0});
      break;
    default: Sim::FailRegistryRead(SettingsKey, DateValue, 234); break;
  }
}

void BuildLocale(ByteSource& in) {
  if (!Rare(in)) return;
  for (int i = 1 + Pick(in, 5); i > 0; --i) {
    auto item = static_cast<Plat::LocaleItem>(Pick(in, 8 + 7 + 7 + 12 + 12));
    std::string value;
    if (item == Plat::LocaleItem::DateOrder)
      value = std::to_string(Pick(in, 5) - 1);
    else
      value = FragmentText(in, LocalePieces, 8);
    Sim::SetLocale(item, value);
  }
}

}  // namespace
