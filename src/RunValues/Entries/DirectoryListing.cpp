#include "RunValues/Entries/DirectoryListing.h"

void ClearListing(DirectoryListing& listing, std::string currentDir, std::string searchSpec) {
  listing.CurrentDir = std::move(currentDir);
  listing.SearchSpec = std::move(searchSpec);
  listing.Records.clear();
  listing.Texts.clear();
  listing.FileList.clear();
  listing.Accepted = 0;
  listing.ListedCount = listing.DirFileCount = listing.DirDirCount = 0;
  listing.DirBytes = listing.DirAllocated = 0;
  listing.MaxNameLength = 0;
  listing.DirShown = true;
  listing.Descriptions.Clear();
}

void SettleListing(DirectoryListing& listing) {
  listing.Records.Truncate(listing.Accepted);
  listing.FileList.resize(listing.Accepted);
  const char* base = listing.Texts.data();
  listing.Records.ForEachIn(0, listing.Accepted, [&](FileEntry& entry, std::size_t at) {
    entry.Name.Settle(base);
    listing.FileList[at] = &entry;
  });
}
