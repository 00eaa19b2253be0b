// Builds a DirectoryListing directly, as the filter leaves one: accepted
// records whose texts (the name, then the alias) lie in its buffer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "RunValues/Entries/DirectoryListing.h"
#include "Base/TextCells.h"

struct ListingBuilder {
  DirectoryListing Listing;
  bool Settled = false;

  // An accepted entry with its counters; a listing already settled takes more.
  FileEntry& Add(std::string_view name, std::int64_t size = 0,
                 std::uint32_t attributes = Plat::AttrArchive, std::string_view shortName = {}) {
    if (Settled) Unsettle();
    FileEntry& entry = Listing.Records.emplace_back();
    entry.Name.Place(Listing.Texts.size(), name.size());
    // Without an alias the short name is the name's first 12 cells.
    entry.ExtraStart = static_cast<std::uint32_t>(shortName.empty() ? 0 : name.size());
    entry.ShortLength = static_cast<std::uint8_t>(
        shortName.empty() ? CellPrefix(name, MaxShortNameCells).size() : shortName.size());
    Listing.Texts.insert(Listing.Texts.end(), name.begin(), name.end());
    Listing.Texts.insert(Listing.Texts.end(), shortName.begin(), shortName.end());
    entry.Size = size;
    entry.Attributes = attributes;
    Listing.Accepted = Listing.Records.size();
    Listing.ListedCount = static_cast<std::int32_t>(Listing.Accepted);
    Listing.MaxNameLength = std::max<std::int32_t>(Listing.MaxNameLength, TextCells(name));
    if (entry.IsDirectory())
      ++Listing.DirDirCount;
    else
      ++Listing.DirFileCount;
    Listing.DirBytes += size;
    return entry;
  }

  // The listing with its texts settled and its entries in FileList.
  DirectoryListing& Listed() {
    if (!Settled) SettleListing(Listing);
    Settled = true;
    return Listing;
  }

  // Drops the entries; the counters and widths stay.
  void ClearEntries() {
    Listing.Records.clear();
    Listing.Texts.clear();
    Listing.FileList.clear();
    Listing.Accepted = 0;
    Settled = false;
  }

 private:
  // The texts become places again, so that more entries can be added.
  void Unsettle() {
    for (FileEntry& entry : Listing.Records)
      entry.Name.Place(static_cast<std::size_t>(entry.Name.data() - Listing.Texts.data()),
                       entry.Name.size());
    Settled = false;
  }
};
