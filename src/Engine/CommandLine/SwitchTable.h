// Every switch defined once: the words that select it, how each takes its
// argument, what it does, and how the usage screen shows it. The parser, the
// usage screen and the fuzz dictionary all read this one table.
#pragma once
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "RunValues/Options.h"

enum class ArgumentForm {
  None,       // the whole word and nothing more
  Lettered,   // the word's letter, then an argument the hook reads (O-S, O:-S)
  RestOfLine  // the rest of the command text; the command line takes it itself
};

// One word a switch is given by. A flag word sets one option and has no hook.
struct SwitchWord {
  const char* Word;
  ArgumentForm Form;
  void (*Apply)(const std::string& word);  // receives the whole upper-cased word
  bool OptionsRec::*Flag;
  bool Value;
};

// How the usage screen shows a switch. Name is what the screen's layout calls
// it (null: accepted, never listed); a null text leaves the switch out of
// that part of the screen.
struct SwitchUsage {
  const char* Name;
  const char* Summary;      // its item on the usage lines, e.g. "/K[:]x"
  const char* GroupItem;    // its item in a group of options
  const char* DetailLabel;  // e.g. "/Kx", before its detail lines
  std::initializer_list<const char*> DetailLines;
  // Its summary ends in the column table's /M letters, and its details list
  // them after their first line.
  bool ListsColumnLetters = false;
};

struct SwitchDefinition {
  std::initializer_list<SwitchWord> Words;
  SwitchUsage Usage;
};

// In the order of the usage screen's details.
std::span<const SwitchDefinition> SwitchDefinitions();
// Every word of the table once, in table order; a Lettered or RestOfLine word
// without its argument.
std::vector<std::string> SwitchWordList();
