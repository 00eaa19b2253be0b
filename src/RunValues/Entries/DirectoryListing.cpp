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
  listing.Records.resize(listing.Accepted);
  listing.FileList.resize(listing.Accepted);
  const char* base = listing.Texts.data();
  for (std::size_t at = 0; at < listing.Accepted; ++at) {
    FileEntry& entry = listing.Records[at];
    entry.Name.Settle(base);
    listing.FileList[at] = &entry;
  }
}
