// The mask compiler and matcher. Every element but the end consumes exactly
// one character, so on a failure only the latest "*" needs to be tried
// further along: matching stays linear in the name for each element.
#include "Engine/Wildcards/WildcardMask.h"

#include <cstdio>

#include "Base/AsciiCase.h"
#include "Base/Utf8.h"
#include "Console/Console.h"

namespace {

constexpr char32_t StrayByteBase = 0x110000;  // past every character

// The character at text[at], upper-cased (a to z only); at moves past it.
char32_t NextUpper(std::string_view text, std::size_t& at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) {
    ++at;
    return static_cast<unsigned char>(UpperAscii(static_cast<char>(byte)));
  }
  const std::size_t start = at;
  const char32_t code = Utf8::Next(text, at);
  return code == Utf8::Replacement && at - start == 1 ? StrayByteBase + byte : code;
}

void AddMembers(MaskElement& element, char32_t first, char32_t last) {
  for (char32_t member = first; member <= last && member < 256; ++member)
    element.Members.set(member);
  if (last >= 256) element.WideMembers.emplace_back(first < 256 ? 256 : first, last);
}

struct MaskCompiler {
  std::string_view Mask;
  CompiledMask& Compiled;
  std::size_t At = 0;  // 0-based position of the character being read
  bool SkipPending = false;
  int SkipCount = 0;

  // Attaches a pending skip; false when it would be one too many.
  bool Append(MaskElement element) {
    element.Skip = SkipPending;
    SkipPending = false;
    if (element.Skip && ++SkipCount > MaxSkipElements) return false;
    Compiled.Elements.push_back(element);
    return true;
  }

  // The 1-based character position of a byte index.
  int Position(std::size_t index) const {
    int position = 1;
    for (std::size_t at = 0; at < index; ++position) NextUpper(Mask, at);
    return position;
  }

  // Reads "[...]" starting at the "["; leaves At on its "]".
  int ReadSet(MaskElement& element) {
    element.Kind = MaskElementKind::Set;
    element.Negated = At + 1 < Mask.size() && Mask[At + 1] == '!';
    At += element.Negated ? 2 : 1;
    bool hasPrevious = false;
    char32_t previous = 0;
    bool empty = true;
    while (At < Mask.size() && Mask[At] != ']') {
      const std::size_t start = At;
      const char32_t character = NextUpper(Mask, At);
      bool closesNext = At < Mask.size() && Mask[At] == ']';
      if (character == '-' && !hasPrevious) return Position(start);
      if (character == '-' && At < Mask.size() && !closesNext) {
        // A range adds nothing beyond its start when its end is below it.
        const char32_t last = NextUpper(Mask, At);
        AddMembers(element, previous, last);
        previous = last;
      } else {
        AddMembers(element, character, character);
        previous = character;
        hasPrevious = true;
      }
      empty = false;
    }
    if (At >= Mask.size()) return Position(Mask.size());
    if (empty) return Position(At);
    return 0;
  }

  int Run() {
    Compiled.Elements.clear();
    for (At = 0; At < Mask.size();) {
      const std::size_t start = At;
      MaskElement element;
      switch (Mask[At]) {
        case '*':
          SkipPending = true;
          ++At;
          continue;
        case '?':
          ++At;
          if (SkipPending) continue;
          element.Kind = MaskElementKind::Any;
          break;
        case '[':
          if (int invalid = ReadSet(element)) return invalid;
          ++At;
          break;
        default: element.Kind = MaskElementKind::Literal; element.Literal = NextUpper(Mask, At);
      }
      if (!Append(element)) return Position(element.Kind == MaskElementKind::Set ? At - 1 : start);
    }
    if (!Append(MaskElement{})) return Position(Mask.size());
    return 0;
  }
};

bool SetHolds(const MaskElement& element, char32_t character) {
  if (character < 256) return element.Members.test(character);
  for (const auto& [first, last] : element.WideMembers)
    if (character >= first && character <= last) return true;
  return false;
}

bool MatchesOne(const MaskElement& element, char32_t character) {
  switch (element.Kind) {
    case MaskElementKind::Literal: return character == element.Literal;
    case MaskElementKind::Any: return true;
    case MaskElementKind::Set: return SetHolds(element, character) != element.Negated;
    case MaskElementKind::End: return false;
  }
  return false;
}

// Whether the name's character at `at` matches; at moves past it either way.
bool MatchesNext(const MaskElement& element, std::string_view name, std::size_t& at) {
  return MatchesOne(element, NextUpper(name, at));
}

}  // namespace

int CompileMask(std::string_view mask, CompiledMask& compiled) {
  return MaskCompiler{mask, compiled}.Run();
}

bool MaskMatches(const CompiledMask& compiled, std::string_view name) {
  const std::vector<MaskElement>& elements = compiled.Elements;
  std::size_t index = 0;
  std::size_t at = 0;
  bool canRetry = false;
  std::size_t retryIndex = 0;
  std::size_t retryAt = 0;
  while (index < elements.size()) {
    const MaskElement& element = elements[index];
    if (element.Skip) {
      if (element.Kind == MaskElementKind::End) at = name.size();
      std::size_t next = at;
      while (at < name.size() && !MatchesNext(element, name, next)) at = next;
      canRetry = at < name.size();
      retryIndex = index;
      retryAt = next;
    }
    if (element.Kind == MaskElementKind::End) {
      if (at == name.size()) return true;
    } else if (std::size_t next = at; at < name.size() && MatchesNext(element, name, next)) {
      at = next;
      ++index;
      continue;
    }
    if (!canRetry) return false;
    index = retryIndex;
    at = retryAt;
  }
  return false;
}

bool NameMatchesMask(std::string_view name, std::string_view mask) {
  CompiledMask compiled;
  if (int invalid = CompileMask(mask, compiled)) InvalidMaskError(mask, invalid);
  return MaskMatches(compiled, name);
}

void InvalidMaskError(std::string_view mask, int position) {
  std::string message = "'";
  message.append(mask);
  message += "' is an invalid mask at (" + std::to_string(position) + ")";
  FatalError(message, false, ExitCode::Refused);  // the command line's own mask
}
