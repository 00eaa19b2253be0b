#include "Configuration/RegistryValues.h"

#include <algorithm>

namespace {

// Most values fit at once; a longer one is read again at the size it has.
constexpr std::size_t FirstReadBytes = 256;
// A writer may change the value between two reads; reading stops when it
// has grown this many times in a row.
constexpr int MaxReads = 16;

ValueRead Fetch(Plat::Handle key, const std::string& name, Plat::RegType& type,
                std::vector<std::uint8_t>& data) {
  data.assign(FirstReadBytes, 0);
  for (int read = 0; read < MaxReads; ++read) {
    switch (Plat::RegReadValue(key, name, type, data)) {
      case Plat::RegRead::Ok: return ValueRead::Ok;
      case Plat::RegRead::Missing: return ValueRead::Missing;
      case Plat::RegRead::Failed: return ValueRead::Unfetchable;
      case Plat::RegRead::MoreData: break;
    }
  }
  return ValueRead::Unfetchable;
}

}  // namespace

std::vector<std::string> ValueNames(Plat::Handle key, std::size_t limit) {
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t index = 0; names.size() < limit; ++index) {
    if (Plat::RegEnumValueName(key, index, name))
      names.push_back(name);
    else if (Plat::LastError() != Plat::ErrorNoUnicodeTranslation)
      break;
  }
  return names;
}

ValueRead ReadDwordValue(Plat::Handle key, const std::string& name, std::uint32_t& value) {
  Plat::RegType type;
  std::vector<std::uint8_t> data;
  ValueRead result = Fetch(key, name, type, data);
  if (result != ValueRead::Ok) return result;
  if (type != Plat::RegType::Dword || data.size() != 4) return ValueRead::WrongType;
  value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | data[static_cast<std::size_t>(i)];
  return ValueRead::Ok;
}

ValueRead ReadBinaryValue(Plat::Handle key, const std::string& name, std::size_t maxLength,
                          std::vector<std::uint8_t>& bytes) {
  Plat::RegType type;
  ValueRead result = Fetch(key, name, type, bytes);
  if (result != ValueRead::Ok) return result;
  if (type != Plat::RegType::Binary || bytes.size() > maxLength) return ValueRead::WrongType;
  return ValueRead::Ok;
}

ValueRead ReadStringValue(Plat::Handle key, const std::string& name, std::string& text) {
  Plat::RegType type;
  std::vector<std::uint8_t> data;
  text.clear();
  ValueRead result = Fetch(key, name, type, data);
  if (result != ValueRead::Ok) return result;
  if (type != Plat::RegType::String && type != Plat::RegType::ExpandString)
    return ValueRead::WrongType;
  text.assign(data.begin(), std::find(data.begin(), data.end(), std::uint8_t{0}));
  return ValueRead::Ok;
}
