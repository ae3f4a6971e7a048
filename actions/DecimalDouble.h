// Decimal text to double, exactly: the double nearest to the number the text spells, ties to even,
// whatever the locale, the C library or the compiler (some C++ libraries lack std::from_chars for
// floating point; strtod follows the locale's decimal point).
#pragma once

#include <string_view>

namespace zem::actions {

enum class DecimalResult {
  kOk,
  kMalformed,   // not of the form [+-]digits[.digits][(e|E)[+-]digits]
  kOutOfRange,  // rounds to infinity, or to zero though its digits are not all zero
};

DecimalResult ReadDecimalDouble(std::string_view text, double& value);

}  // namespace zem::actions
