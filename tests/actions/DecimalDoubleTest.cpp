// Decimal text to double: every double written back reads as itself, and every decimal reads as the
// nearest double, ties to even, as the C library's correctly rounded strtod reads it in the "C"
// locale on this machine (glibc).
#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "actions/DecimalDouble.h"

namespace zem::actions {
namespace {

uint64_t Bits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double FromBits(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The text read, or NaN for a refusal (the reader never gives NaN).
double Read(const std::string& text) {
  double value = 0;
  return ReadDecimalDouble(text, value) == DecimalResult::kOk ? value : std::nan("");
}

void ExpectReads(const std::string& text, double expected) {
  const double read = Read(text);
  EXPECT_EQ(Bits(read), Bits(expected)) << text << " read as " << read;
}

TEST(DecimalDouble, ReadsEveryDoubleWrittenBackAsItself) {
  std::mt19937_64 random(31);
  std::vector<double> values = {0.0, -0.0, 1.0, 0.1, std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
                                std::nextafter(std::numeric_limits<double>::min(), 0.0), 9007199254740993.0,
                                1e23, 5e-324, 2.2250738585072011e-308};
  for (int i = 0; i < 20000; ++i) {
    const double value = FromBits(random());
    if (std::isfinite(value)) values.push_back(value);
  }
  for (double value : values) {
    char shortest[64];
    const auto result = std::to_chars(shortest, shortest + sizeof shortest, value);
    ExpectReads(std::string(shortest, result.ptr), value);
    char seventeen[64];
    std::snprintf(seventeen, sizeof seventeen, "%.17e", value);
    ExpectReads(seventeen, value);
  }
}

TEST(DecimalDouble, RoundsEveryDecimalAsStrtodDoes) {
  std::mt19937_64 random(310);
  for (int i = 0; i < 10000; ++i) {
    std::string text = random() % 2 ? "-" : "";
    const int digits = 1 + int(random() % (i % 10 == 0 ? 900 : 25));
    const int point = int(random() % digits);
    for (int d = 0; d < digits; ++d) {
      if (d == point + 1) text += '.';
      text += char('0' + random() % 10);
    }
    text += "e" + std::to_string(int(random() % 700) - 350);
    errno = 0;
    const double expected = std::strtod(text.c_str(), nullptr);
    const bool outOfRange = std::isinf(expected) || (expected == 0 && text.find_first_of("123456789") < text.find('e'));
    double read = 0;
    const DecimalResult result = ReadDecimalDouble(text, read);
    if (outOfRange) {
      EXPECT_EQ(result, DecimalResult::kOutOfRange) << text;
    } else {
      ASSERT_EQ(result, DecimalResult::kOk) << text;
      EXPECT_EQ(Bits(read), Bits(expected)) << text;
    }
  }
}

// The exact decimal expansion of the point halfway between two neighbouring doubles rounds to the
// one with the even significand; a 1 after its last digit (beyond the digits any double needs)
// makes it round up, and so does it at the halfway point of the smallest subnormal.
TEST(DecimalDouble, RoundsHalfwayPointsToEvenAndJustAboveThemUp) {
  std::mt19937_64 random(3100);
  std::vector<double> lows = {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                              1.0, 9007199254740992.0};
  for (int i = 0; i < 300; ++i) {
    const double value = std::fabs(FromBits(random()));
    if (std::isfinite(value) && value < std::numeric_limits<double>::max()) lows.push_back(value);
  }
  for (double low : lows) {
    const double high = std::nextafter(low, HUGE_VAL);
    const long double middle = (static_cast<long double>(low) + high) / 2;
    std::string text(1300, '\0');
    text.resize(size_t(std::snprintf(text.data(), text.size(), "%.1200Le", middle)));
    const size_t e = text.find('e');
    const size_t last = text.find_last_not_of('0', e - 1);
    const std::string exact = text.substr(0, last + 1) + text.substr(e);
    ExpectReads(exact, Bits(low) % 2 == 0 ? low : high);
    ExpectReads(text.substr(0, last + 1) + "1" + text.substr(e), high);
  }
  // Halfway between zero and the smallest subnormal: a tie that rounds to zero, so out of range.
  std::string half(1300, '\0');
  half.resize(size_t(std::snprintf(half.data(), half.size(), "%.1200Le", std::ldexp(1.0L, -1075))));
  double read = 0;
  EXPECT_EQ(ReadDecimalDouble(half, read), DecimalResult::kOutOfRange);
  half.insert(half.find_last_not_of('0', half.find('e') - 1) + 1, "1");
  ExpectReads(half, std::numeric_limits<double>::denorm_min());
}

TEST(DecimalDouble, RefusesWhatIsNoNumberAndWhatNoDoubleHolds) {
  for (const char* text : {"", "-", "+", ".5", "5.", "1e", "1e+", "1x", "1.2.3", " 1", "1 ", "0x10", "inf", "nan"}) {
    double read = 0;
    EXPECT_EQ(ReadDecimalDouble(text, read), DecimalResult::kMalformed) << text;
  }
  for (const char* text : {"1e309", "-1.8e308", "1e-400", "2e-324", "1e999999999999999999999"}) {
    double read = 0;
    EXPECT_EQ(ReadDecimalDouble(text, read), DecimalResult::kOutOfRange) << text;
  }
  ExpectReads("0e999999999999999999999", 0.0);
  ExpectReads("-000.000e-5", -0.0);
  ExpectReads("+1.5", 1.5);
  ExpectReads("1.7976931348623157e308", std::numeric_limits<double>::max());
  ExpectReads("3e-324", std::numeric_limits<double>::denorm_min());
}

}  // namespace
}  // namespace zem::actions
