// The records start-up settles, each declared once with a comment per field:
// the run's options (OptionsRec), the file specifications and drive figures
// (RunSpecRec), and the looks (LooksRec). SettledValues.h holds them in one
// storage and gives the run its const views; nothing here reads them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "RunValues/LocaleFormats.h"

// ---------------------------------------------------------------- options
// Settled by the registry presets, the command line and the platform checks
// during start-up, frozen after it.

// Time stamp numbers of a FileEntry (index into FileEntry::Times()).
enum TimeStampKind : std::uint8_t { NoStamp = 0, LastAccess = 1, Creation = 2, LastWrite = 3 };

// One column of the display format.
struct ColumnSpec {
  char Kind = 0;           // a kind of the listing's column table ('t': the /T stamp)
  std::int32_t Width = 0;  // 0: the kind decides (name and description take the rest)
};

constexpr int MaxColumnSlots = 20;
using ColumnSlots = std::array<ColumnSpec, MaxColumnSlots + 1>;  // slots 1..20, [0] unused

// Attribute letters A H R S D, in this index order.
enum AttrIndex { AttrA = 0, AttrH = 1, AttrR = 2, AttrS = 3, AttrD = 4 };

struct OptionsRec {
  bool ShowHelp = false;         // /?
  bool BadOption = false;        // a switch word could not be understood
  bool Recursive = false;        // /S
  bool SummaryOnly = false;      // /U
  bool DriveInfo = false;        // /I
  bool Bare = false;             // /B
  bool FullPath = false;         // /F
  bool HideDots = true;          // /H
  ColumnSlots Columns{};         // display format, slots 1..ColumnCount
  std::uint8_t ColumnCount = 2;  // slots in use
  ColumnSlots SavedColumns{};    // format before the description layout swap
  std::uint8_t SavedColumnCount = 0;
  bool AliasesListed = false;            // a column of either layout shows 8.3 aliases
  bool FormatChosen = false;             // a format switch was given
  bool HasNameColumn = true;             // the format has a name column
  std::array<bool, 4> TimeKindNeeded{};  // [1..3] by TimeStampKind: stamp shown in a column
  bool ShowDescriptions = false;         // /Z, /M D
  std::uint8_t FixedColumns = 0;         // /1 .. /9; 0 automatic
  std::uint8_t MinColumns = 2;           // /Q1 .. /Q4
  std::int32_t RedirectWidth = 80;       // /K
  bool VerticalSort = false;             // /Y, /D
  bool Justify = false;                  // /J
  char NameCase = 'N';                   // /E 'U', /L 'L', else 'N'
  bool ThousandsSeparator = true;        // /C
  bool SizesInBytes = false;             // /BYTE
  bool ShowFree = true;                  // /FREE
  bool ClearScreen = false;              // /CLR
  bool Pause = true;                     // /P (the console engine keeps whether paging stopped)
  bool SevenBit = false;                 // /7BIT
  bool FourDigitYears = false;           // /Y2K
  bool Turbo = false;                    // /TURBO (whole-screen mode)
  bool Tree = false;                     // /TREE
  bool RegexWildcards = false;           // /R
  char TimeField = 'W';                  // /T letter A, C or W
  TimeStampKind TimeKind = LastWrite;    // resolved from TimeField
  char SortKey = 'N';                    // N name, D date, X extension, S size, U unsorted
  bool SortReverse = false;              // /O with a negated key
  bool DirsFirst = true;                 // /O G
  bool DirsFirstGiven = false;           // /O G written: groups even an unsorted list
  bool AttrFilter = false;               // /A with letters
  std::array<bool, 5> AttrWant{};        // by AttrIndex
  std::array<bool, 5> AttrExclude{};     // by AttrIndex
  bool BatchMode = false;                // /@
  std::string BatchCommand;              // text after /@
  bool ShowOwner = false;                // /M O
  bool ShowCompression = false;          // /M C, /M R

  // Range filters.
  bool DateRangeOn = false;         // date filter active
  double DateLow = 0;               // lower bound, whole days
  double DateHigh = 0;              // upper bound, whole days
  std::uint8_t DateRangeStamp = 0;  // TimeStampKind tested; 0 none given
  bool TimeRangeOn = false;         // time-of-day filter active
  double TimeLow = 0;               // lower bound (time of day counts)
  double TimeHigh = 0;              // upper bound
  std::uint8_t TimeRangeStamp = 0;  // stamp letter given inside a time filter
  bool SizeRangeOn = false;         // size filter active
  std::int64_t SizeLow = 0;         // lower bound in bytes
  std::int64_t SizeHigh = 0;        // upper bound in bytes
  bool SizeOpenEnded = false;       // no upper bound tested

  // Facts of the platform and the program file, settled by the start-up checks.
  std::string ProgramDir;    // directory of the program file, with "\"
  bool IsNT = false;         // the NT family
  bool IsWin95OSR2 = false;  // 95 OSR2 or 98: the extended free-space query exists

  // Separators that "/" and ":" in date patterns print: the locale's, or as
  // typed after an absolute date or time bound.
  std::string DateSeparator = "/";
  std::string TimeSeparator = ":";
};

// Fills Columns with the given kinds and widths from slot 1 and sets ColumnCount.
void SetColumns(OptionsRec& options, std::initializer_list<ColumnSpec> columns);

// ---------------------------------------------------------------- file specifications
// What the scan enumerates: the file specifications and the directory, mask
// and pattern derived from the first one, plus the drive's cluster figures.

// The file specifications of the run, the first directory they name (where
// the walk starts), and the drive figures from the free-space query.
struct RunSpecRec {
  std::vector<std::string> FileSpecs;   // file specifications in command-line order
  std::string SearchSpec;               // first directory plus mask handed to find-first
  std::string CurrentDir;               // first directory listed, ends in "\"
  std::string FileMask;                 // name part of the file specification
  std::string FileExt;                  // extension of the name part with its dot, or empty
  std::string FileBase;                 // name part without the extension
  std::uint8_t DriveNumber = 255;       // 255 until the first ParseFileSpec; letter code - 64
  std::uint32_t SectorsPerCluster = 0;  // drive figures from the free-space query
  std::uint32_t BytesPerSector = 0;
  std::uint32_t FreeClusters = 0;
  std::uint32_t TotalClusters = 0;
  std::int32_t ClusterSize = 0;  // BytesPerSector x SectorsPerCluster
  bool NoClusterSize = false;    // the free-space query failed
  bool DriveInvalid = false;     // it failed because the drive does not exist
};

// ---------------------------------------------------------------- looks
// Display colours, the per-extension colour table and the registry settings.

struct ColsType {
  std::string Extension;  // upper-case extension without the dot
  std::uint8_t Colour = 7;
};

constexpr int MaxExtensionColours = 100;
// An extension is matched on its first this many characters; OConfig sets none longer.
constexpr std::size_t MaxExtensionChars = 99;

struct ColourRec {
  std::uint8_t FileColour = 7;            // names without an extension entry
  std::uint8_t DateColour = 15;           // date and time columns
  std::uint8_t DirectoryColour = 14;      // directory names and <DIR>
  std::uint8_t LineColour = 3;            // box lines and separators
  std::uint8_t HeadingColour = 12;        // "Path: ", "Volume Label: ", fatal messages
  std::uint8_t HeadingValueColour = 10;   // the path or label after those captions
  std::uint8_t DetailColour = 15;         // size, compressed, ratio, owner columns
  std::uint8_t PromptColour = 0x4E;       // the page prompt
  std::uint8_t SummaryFigureColour = 14;  // figures of summary lines
  std::uint8_t SummaryTextColour = 15;    // words of summary lines
  std::uint8_t BannerColour = 15;         // the banner line
};

// What the registry and the colour and date switches settle at start-up for the display.
struct LooksRec {
  ColourRec Colours;
  std::array<ColsType, MaxExtensionColours + 1> ExtensionColours;  // slots 1..100
  int ExtensionColourCount = 0;                                    // slots in use
  bool ColourEnabled = true;        // names coloured by kind; /G turns it off
  std::string PresetSwitches;       // switch text applied before the command line
  std::string DateFormat;           // date display pattern; empty means "c"
  std::vector<DateStep> DateSteps;  // DateFormat parsed at start-up, separators folded in
};
