// The mask compiler and matcher. Every element but the end consumes exactly
// one character, so on a failure only the latest "*" needs to be tried
// further along: matching stays linear in the name for each element.
#include "Engine/Wildcards/WildcardMask.h"

#include <cstdio>

#include "TurboScroll/TurboScroll.h"

namespace {

unsigned char UpperByte(char character) {
  auto byte = static_cast<unsigned char>(character);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
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

  int Position(std::size_t index) const { return static_cast<int>(index) + 1; }

  // Reads "[...]" starting at the "["; leaves At on its "]".
  int ReadSet(MaskElement& element) {
    element.Kind = MaskElementKind::Set;
    element.Members.reset();
    bool negate = At + 1 < Mask.size() && Mask[At + 1] == '!';
    At += negate ? 2 : 1;
    int previous = -1;
    bool empty = true;
    for (; At < Mask.size() && Mask[At] != ']'; ++At) {
      unsigned char character = UpperByte(Mask[At]);
      bool closesNext = At + 1 < Mask.size() && Mask[At + 1] == ']';
      if (character == '-' && previous < 0) return Position(At);
      if (character == '-' && At + 1 < Mask.size() && !closesNext) {
        // A range adds nothing beyond its start when its end is below it.
        unsigned char last = UpperByte(Mask[++At]);
        for (int member = previous; member <= last; ++member) element.Members.set(member);
        previous = last;
      } else {
        element.Members.set(character);
        previous = character;
      }
      empty = false;
    }
    if (At >= Mask.size()) return Position(Mask.size());
    if (empty) return Position(At);
    if (negate) element.Members.flip();
    return 0;
  }

  int Run() {
    Compiled.Elements.clear();
    for (At = 0; At < Mask.size(); ++At) {
      MaskElement element;
      switch (Mask[At]) {
        case '*': SkipPending = true; continue;
        case '?':
          if (SkipPending) continue;
          element.Kind = MaskElementKind::Any;
          break;
        case '[':
          if (int invalid = ReadSet(element)) return invalid;
          break;
        default:
          element.Kind = MaskElementKind::Literal;
          element.Literal = static_cast<char>(UpperByte(Mask[At]));
      }
      if (!Append(element)) return Position(At);
    }
    if (!Append(MaskElement{})) return Position(Mask.size());
    return 0;
  }
};

bool MatchesOne(const MaskElement& element, char character) {
  switch (element.Kind) {
    case MaskElementKind::Literal:
      return UpperByte(character) == static_cast<unsigned char>(element.Literal);
    case MaskElementKind::Any: return true;
    case MaskElementKind::Set: return element.Members.test(UpperByte(character));
    case MaskElementKind::End: return false;
  }
  return false;
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
      while (at < name.size() && !MatchesOne(element, name[at])) ++at;
      canRetry = at < name.size();
      retryIndex = index;
      retryAt = at + 1;
    }
    if (element.Kind == MaskElementKind::End) {
      if (at == name.size()) return true;
    } else if (at < name.size() && MatchesOne(element, name[at])) {
      ++at;
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
  FatalError(message, false);
}
