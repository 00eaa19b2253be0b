// What every concern of the platform doorway shares: the handle type, the
// last error and the codes the core reacts to, and the file stamp.
#pragma once

#include <cstdint>

namespace Plat {

using Handle = std::intptr_t;
constexpr Handle InvalidHandle = -1;

// The error code left by the latest failing call (GetLastError).
std::uint32_t LastError();

// Win32 error codes the core reacts to.
constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorPathNotFound = 3;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorInvalidDrive = 15;
constexpr std::uint32_t ErrorNoMoreFiles = 18;
constexpr std::uint32_t ErrorInvalidName = 123;
constexpr std::uint32_t ErrorNoUnicodeTranslation = 1113;

// FILETIME: 100 ns units since 1601-01-01 UTC, low word first.
struct FileTime {
  std::uint32_t Low = 0;
  std::uint32_t High = 0;
};

// A stamp as one number of ticks, and back.
inline std::uint64_t TicksOf(const FileTime& time) {
  return (static_cast<std::uint64_t>(time.High) << 32) | time.Low;
}
inline FileTime FileTimeOfTicks(std::uint64_t ticks) {
  return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

}  // namespace Plat
