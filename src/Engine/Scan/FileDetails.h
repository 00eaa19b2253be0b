#pragma once
#include <cstdint>
#include <string>

// Compressed size of a file; 0 when the query fails.
std::int64_t CompressedSize(const std::string& path);
// The same, telling a failed query (false) from a real size.
bool QueryCompressedSize(const std::string& path, std::int64_t& size);
// The owner's account name (without domain); false on any failure.
bool LookupOwner(const std::string& path, std::string& name);
