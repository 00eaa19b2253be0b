// A system message as its table holds it, with the insert sequences (%1 to
// %99, each with an optional !format!) and escapes (%%, %n, %0 ...) made
// into plain text: the program never lets the system fill them, as a message
// may ask for more inserts than it was given.
#pragma once

#include <string>

namespace MessageInsertsDetail {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Past an insert's optional !format!, which starts at `at`.
inline std::size_t InsertEnd(const std::string& text, std::size_t at) {
  if (at < text.size() && text[at] == '!') {
    const std::size_t close = text.find('!', at + 1);
    if (close != std::string::npos) return close + 1;
  }
  return at;
}

// Blanks doubled or left before punctuation where an insert was left out.
inline std::string Tidied(const std::string& text) {
  std::string tidy;
  for (char c : text) {
    const bool punctuation = c == '.' || c == ',' || c == ':' || c == ';' || c == ')';
    if ((c == ' ' || punctuation) && !tidy.empty() && tidy.back() == ' ') tidy.pop_back();
    if (c == ' ' && tidy.empty()) continue;
    tidy += c;
  }
  return tidy;
}

}  // namespace MessageInsertsDetail

// %1 becomes `subject` (left out when it is empty); every other insert is
// left out; %n, %r and %b become a blank, %0 ends the text, and %%, %. and
// %! stand for their character.
inline std::string FillMessageInserts(const std::string& text, const std::string& subject) {
  using namespace MessageInsertsDetail;
  std::string filled;
  bool leftOut = false;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != '%' || at + 1 >= text.size()) {
      filled += text[at++];
      continue;
    }
    const char next = text[at + 1];
    if (next == '0') break;
    if (IsDigit(next)) {
      std::size_t digits = at + 1;
      while (digits < text.size() && IsDigit(text[digits])) ++digits;
      if (digits == at + 2 && next == '1' && !subject.empty())
        filled += subject;
      else
        leftOut = true;
      at = InsertEnd(text, digits);
      continue;
    }
    filled += next == 'n' || next == 'r' || next == 'b' ? ' ' : next;
    at += 2;
  }
  return leftOut ? Tidied(filled) : filled;
}
