#include "RunValues/Entries/Entries.h"

std::string_view FileEntry::TimeText(int kind) const {
  std::size_t start = ExtraStart + ShortLength;
  for (int before = 1; before < kind; ++before) start += TimeLength[before - 1];
  return {Name.data() + start, TimeLength[kind - 1]};
}

const Plat::FileTime& FileEntry::Time(int kind) const {
  switch (kind) {
    case LastAccess: return AccessTime;
    case Creation: return CreationTime;
    default: return WriteTime;
  }
}
