// The spellings shared by the text writer and reader.
#pragma once

#include <string>

#include "actions/ActionModel.h"

namespace zem::actions::text {

// Words with a meaning of their own in the text form; a string ID spelled like one of them is
// written quoted.
inline bool IsKeyword(const std::string& word) {
  static const char* const kKeywords[] = {"true",  "false", "none",   "ref",      "class",   "globalclass", "global",
                                          "comp",  "data",  "alias",  "path",     "double",  "expanded",    "disabled",
                                          "dialog", "options", "shift", "command", "fkey",   "colour",      "set",
                                          "action", "event"};
  for (const char* keyword : kKeywords) {
    if (word == keyword) return true;
  }
  return false;
}

inline bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }

struct CodeWord {
  const char* word;
  FourCC code;
};

// Reference forms by their words.
inline constexpr CodeWord kReferenceForms[] = {
    {"enum", MakeFourCC("Enmr")}, {"prop", MakeFourCC("prop")},  {"class", MakeFourCC("Clss")},
    {"name", MakeFourCC("name")}, {"index", MakeFourCC("indx")}, {"id", MakeFourCC("Idnt")},
    {"offset", MakeFourCC("rele")}};

// The value types that hold bytes, by their words.
inline constexpr CodeWord kRawTypes[] = {
    {"data", type::kRawData}, {"alias", type::kAlias}, {"path", type::kPath}};

}  // namespace zem::actions::text
