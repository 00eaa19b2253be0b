// A line's text is escaped character by character, but the interpreter reads
// bytes: in a double-byte code page the second byte of a character may equal
// "|" or "^", which an interpreter reading the file in another page (the
// console's, or UTF-8 left behind by an earlier batch file) takes as itself.
#include "Engine/Batch/Batch.h"

namespace {

bool IsMetacharacter(unsigned char byte) {
  switch (byte) {
    case '"':
    case '%':
    case '!':
    case '&':
    case '|':
    case '<':
    case '>':
    case '^':
    case '(':
    case ')':
    case '*':
    case '?':
    case ',':
    case ';':
    case '=':
    case ' ': return true;
    default: return byte < 32 || byte == 127;
  }
}

}  // namespace

bool BytesHideMetacharacters(std::string_view text, std::string_view bytes, bool leadBytesJoin) {
  // The text's metacharacters are its ASCII bytes of those values; the file
  // must hold exactly as many of each.
  int counts[128] = {};
  for (char character : text)
    if (IsMetacharacter(static_cast<unsigned char>(character))) ++counts[character & 0x7F];
  unsigned char before = 0;
  for (char character : bytes) {
    const auto byte = static_cast<unsigned char>(character);
    if (byte < 0x80 && IsMetacharacter(byte)) {
      if (--counts[byte] < 0) return true;
      if (leadBytesJoin && before >= 0x80) return true;
    }
    before = byte;
  }
  return false;
}
