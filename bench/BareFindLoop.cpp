// The floor for any lister: a bare find-first/find-next loop that writes each
// entry's size and path through one output buffer, and nothing else.
// Usage: orvl_bare [/S] [/Q] [directory]   (default: the current directory;
// /S walks the tree, each directory read once, its subdirectories after it;
// /Q reads without printing, the floor for the tree drawing).
// Built in the Windows tree: cmake --build build/win --target orvl_bare
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class BufferedOut {
 public:
  explicit BufferedOut(bool quiet) : handle_(GetStdHandle(STD_OUTPUT_HANDLE)), quiet_(quiet) {}
  bool Quiet() const { return quiet_; }
  ~BufferedOut() { Flush(); }

  void Write(const char* text, std::size_t length) {
    if (used_ + length > sizeof(buffer_)) Flush();
    if (length > sizeof(buffer_)) return WriteThrough(text, length);
    std::memcpy(buffer_ + used_, text, length);
    used_ += length;
  }

  void Flush() {
    WriteThrough(buffer_, used_);
    used_ = 0;
  }

 private:
  void WriteThrough(const char* text, std::size_t length) {
    DWORD written = 0;
    if (length > 0) WriteFile(handle_, text, static_cast<DWORD>(length), &written, nullptr);
  }

  HANDLE handle_;
  bool quiet_;
  char buffer_[64 * 1024];
  std::size_t used_ = 0;
};

// Decimal digits of value, written backwards from the end of a 20-byte field.
std::size_t FormatSize(unsigned long long value, char* field) {
  std::size_t digits = 0;
  do {
    field[19 - digits++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return digits;
}

void WriteEntry(BufferedOut& out, const std::string& directory, const WIN32_FIND_DATAA& data) {
  char field[20];
  unsigned long long size =
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  std::size_t digits = FormatSize(size, field);
  out.Write(field + 20 - digits, digits);
  out.Write(" ", 1);
  out.Write(directory.data(), directory.size());
  out.Write(data.cFileName, std::strlen(data.cFileName));
  out.Write("\r\n", 2);
}

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Lists one directory (prefix ends with a backslash); returns its subdirectories.
std::vector<std::string> ListDirectory(BufferedOut& out, const std::string& prefix) {
  std::vector<std::string> subdirectories;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((prefix + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return subdirectories;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    if (!out.Quiet()) WriteEntry(out, prefix, data);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      subdirectories.push_back(prefix + data.cFileName + "\\");
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return subdirectories;
}

void ListTree(BufferedOut& out, const std::string& prefix) {
  for (const std::string& subdirectory : ListDirectory(out, prefix)) ListTree(out, subdirectory);
}

}  // namespace

int main(int argc, char** argv) {
  bool recursive = false;
  bool quiet = false;
  std::string directory = ".";
  for (int i = 1; i < argc; ++i) {
    if (_stricmp(argv[i], "/S") == 0)
      recursive = true;
    else if (_stricmp(argv[i], "/Q") == 0)
      quiet = true;
    else
      directory = argv[i];
  }
  // Full paths, as a lister shows them.
  char full[MAX_PATH];
  if (GetFullPathNameA(directory.c_str(), MAX_PATH, full, nullptr) != 0) directory = full;
  if (directory.back() != '\\') directory += '\\';

  BufferedOut out(quiet);
  if (recursive)
    ListTree(out, directory);
  else
    ListDirectory(out, directory);
  return 0;
}
