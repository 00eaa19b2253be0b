// UTF-8, the form every text of the core takes, and UTF-16, the form of the
// system's wide calls and of console cells. Header-only: both platform layers
// and the core use it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Utf8 {

constexpr char32_t Replacement = 0xFFFD;

// A UTF-16 unit without its pair, as a name the system holds may have, is
// carried as the three bytes of its value (ED A0 80 to ED BF BF), so that
// the name can be named again and told from one holding U+FFFD.
inline bool IsLoneSurrogateAt(std::string_view text, std::size_t at) {
  return at + 2 < text.size() && static_cast<unsigned char>(text[at]) == 0xED &&
         static_cast<unsigned char>(text[at + 1]) >= 0xA0 &&
         static_cast<unsigned char>(text[at + 1]) < 0xC0 &&
         (static_cast<unsigned char>(text[at + 2]) & 0xC0) == 0x80;
}

// The character starting at text[at]; at moves past it. A malformed or cut
// sequence yields U+FFFD and moves one byte, so decoding always ends; a
// carried lone surrogate yields one U+FFFD for its three bytes.
inline char32_t Next(std::string_view text, std::size_t& at) {
  if (IsLoneSurrogateAt(text, at)) {
    at += 3;
    return Replacement;
  }
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (extra < 0 || lead >= 0xF5 || at + static_cast<std::size_t>(extra) > text.size())
    return Replacement;
  char32_t code = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
    if ((next & 0xC0) != 0x80) return Replacement;
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  static constexpr char32_t Least[4] = {0, 0x80, 0x800, 0x10000};
  if (code < Least[extra] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF)
    return Replacement;
  at += static_cast<std::size_t>(extra);
  return code;
}

inline void Append(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

inline void AppendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  }
}

inline std::u16string ToUtf16(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (IsLoneSurrogateAt(text, at)) {
      wide += static_cast<char16_t>(0xD000 | ((text[at + 1] & 0x3F) << 6) | (text[at + 2] & 0x3F));
      at += 3;
    } else {
      AppendUtf16(wide, Next(text, at));
    }
  }
  return wide;
}

// A lone surrogate (possible in a name the system hands over) is carried as
// the three bytes of its value, which ToUtf16 turns back into it.
inline std::string FromUtf16(std::u16string_view wide) {
  std::string text;
  text.reserve(wide.size());
  for (std::size_t at = 0; at < wide.size(); ++at) {
    char32_t code = wide[at];
    if (code >= 0xD800 && code < 0xDC00 && at + 1 < wide.size() && wide[at + 1] >= 0xDC00 &&
        wide[at + 1] < 0xE000)
      code = 0x10000 + ((code - 0xD800) << 10) + (wide[++at] - 0xDC00);
    Append(text, code);
  }
  return text;
}

// A UTF-8 byte-order mark at the start of a file's bytes.
inline bool StartsWithByteOrderMark(std::string_view bytes) {
  return bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

}  // namespace Utf8
