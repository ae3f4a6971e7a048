// The reference host's action set: a text file naming each action and its adjustment.
//
//   # a comment
//   set ZEM_Variations              (optional, before the first action; this name by default)
//   red_plus   gain 1.2 1 1         (NAME ADJUSTMENT NUMBERS...)
#pragma once

#include <string>
#include <vector>

#include "Adjustments.h"

namespace hostsim {

struct Action {
  std::string name;
  Adjustment adjustment;
};

struct ActionFile {
  std::string setName = "ZEM_Variations";
  std::vector<Action> actions;

  const Action* Find(const std::string& name) const;
};

// Parses the file's text. On failure `error` names the line: "line 4: ...".
bool ParseActionFile(const std::string& text, ActionFile& file, std::string& error);

// Reads and parses a file; `error` also covers a file that cannot be read.
bool ReadActionFile(const std::string& path, ActionFile& file, std::string& error);

// The action set that comes with the reference host (hostsim/ZEM_Variations.actions).
const std::string& DefaultActionFileText();

}  // namespace hostsim
