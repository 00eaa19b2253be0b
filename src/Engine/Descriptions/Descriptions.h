#pragma once
#include <cstddef>
#include <string>
#include <string_view>

struct DescriptionTable;

// How one directory is laid out: a directory without a description file, when
// no format was chosen, is listed in the layout from before /Z.
struct DirectoryLayout {
  bool WithoutDescriptions = false;  // the columns from before /Z, no description column
};

// The description step at the end of every shown directory: loads the
// directory's DESCRIPT.ION into the table and tells the layout to list it with.
DirectoryLayout PrepareDescriptions(const std::string& directory, DescriptionTable& table);
// Bytes read of one description file at most: room for every record the pool
// holds (100,000 lines of the 1,024 bytes kept of a line, with their line
// ends), so that a file without an end (a link to a device) cannot hold the
// listing up; the listing goes on with what was read.
constexpr std::size_t DescriptionFileByteLimit = 128 * 1024 * 1024;
// Reads a description file into the tables; true when it gave at least one
// description. A file that cannot be opened, or is not a plain file, gives
// none, without a message.
bool LoadDescriptions(const std::string& path, DescriptionTable& table,
                      std::size_t byteLimit = DescriptionFileByteLimit);
// The description of an entry Name, or empty.
const std::string& LookupDescription(const DescriptionTable& table, std::string_view name);
