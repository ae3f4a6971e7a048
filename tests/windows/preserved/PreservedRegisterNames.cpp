#include "tests/windows/preserved/PreservedRegisters.h"

#include <sstream>

std::string PreservedRegisterNames(uint32_t changed) {
  std::istringstream names(PreservedRegisterNameList);
  std::string name;
  std::string result;
  for (uint32_t bit = 1; names >> name; bit <<= 1) {
    if ((changed & bit) == 0) continue;
    if (!result.empty()) result += ' ';
    result += name;
  }
  return result;
}
