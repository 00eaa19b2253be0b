// /A (attribute selection) and /O (sort order): letters, each optionally
// negated by a "-" written before it.
#include "RunValues/Options.h"
#include "RunValues/StartupWriters.h"
#include "Engine/CommandLine/SwitchParser.h"

namespace {

// Index of an attribute letter, or -1.
int AttributeIndex(char letter) {
  switch (letter) {
    case 'A': return AttrA;
    case 'H': return AttrH;
    case 'R': return AttrR;
    case 'S': return AttrS;
    case 'D': return AttrD;
    default: return -1;
  }
}

// Sort key of a sort letter, or 0.
char SortKeyOf(char letter) {
  switch (letter) {
    case 'N': return 'N';
    case 'D': return 'D';
    case 'E': return 'X';
    case 'S': return 'S';
    case 'U': return 'U';  // unsorted: enumeration order; has no direction
    default: return 0;
  }
}

void ApplySortLetter(char letter, bool negated) {
  if (char key = SortKeyOf(letter)) {
    StartupOptions().SortKey = key;
    if (negated && key != 'U') StartupOptions().SortReverse = true;  // nothing turns it off again
  } else if (letter == 'G') {
    StartupOptions().DirsFirst = !negated;
    if (!negated) StartupOptions().DirsFirstGiven = true;
  } else {
    StartupOptions().BadOption = true;
  }
}

}  // namespace

// Earlier /A selections stay; only the bare word A clears them.
void ParseAttributeSelection(const std::string& word) {
  std::size_t at = ArgumentStart(word);
  if (at >= word.size()) {
    StartupOptions().BadOption = true;
    return;
  }
  StartupOptions().AttrFilter = true;
  while (at < word.size()) {
    bool negated = word[at] == '-';
    if (negated) ++at;
    int index = at < word.size() ? AttributeIndex(word[at]) : -1;
    if (index < 0)
      StartupOptions().BadOption = true;
    else if (negated)
      StartupOptions().AttrExclude[index] = true;
    else
      StartupOptions().AttrWant[index] = true;
    ++at;
  }
}

void ParseSortOrder(const std::string& word) {
  std::size_t at = ArgumentStart(word);
  if (at >= word.size()) StartupOptions().BadOption = true;
  while (at < word.size()) {
    bool negated = word[at] == '-';
    if (negated) ++at;
    if (at >= word.size()) {
      StartupOptions().BadOption = true;  // a "-" with nothing after it
      break;
    }
    ApplySortLetter(word[at++], negated);
  }
}
