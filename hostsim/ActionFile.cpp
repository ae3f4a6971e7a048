#include "ActionFile.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace hostsim {
namespace {

bool ParseNumber(const std::string& word, double& value) {
  char* end = nullptr;
  value = std::strtod(word.c_str(), &end);
  return !word.empty() && end == word.c_str() + word.size() && std::isfinite(value);
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

}  // namespace

const Action* ActionFile::Find(const std::string& name) const {
  for (const Action& action : actions) {
    if (action.name == name) return &action;
  }
  return nullptr;
}

bool ParseActionFile(const std::string& text, ActionFile& file, std::string& error) {
  ActionFile parsed;
  std::istringstream lines(text);
  int number = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  for (std::string line; std::getline(lines, line);) {
    ++number;
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    if (words[0] == "set") {
      if (words.size() != 2) return fail("'set' takes the action set's name");
      if (!parsed.actions.empty()) return fail("'set' must come before the first action");
      parsed.setName = words[1];
      continue;
    }
    if (words.size() < 2) return fail("action '" + words[0] + "' has no adjustment");
    Action action;
    action.name = words[0];
    if (parsed.Find(action.name) != nullptr) return fail("action '" + action.name + "' is listed twice");
    if (!AdjustmentByName(words[1], action.adjustment.kind)) return fail("unknown adjustment '" + words[1] + "'");
    const int arity = AdjustmentArity(action.adjustment.kind);
    if (static_cast<int>(words.size()) - 2 != arity) {
      return fail("'" + words[1] + "' takes " + std::to_string(arity) + (arity == 1 ? " number" : " numbers"));
    }
    for (int i = 0; i < arity; ++i) {
      if (!ParseNumber(words[2 + i], action.adjustment.values[i])) {
        return fail("'" + words[2 + i] + "' is not a number");
      }
    }
    parsed.actions.push_back(action);
  }
  file = parsed;
  return true;
}

bool ReadActionFile(const std::string& path, ActionFile& file, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open action file " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (!ParseActionFile(text.str(), file, error)) {
    error = path + ", " + error;
    return false;
  }
  return true;
}

}  // namespace hostsim
