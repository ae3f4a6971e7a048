// The number's significant digits are taken as a big integer D and a decimal exponent E, so that
// the value is D * 10^E. With big-integer arithmetic this gives a 64-bit quotient q, a binary
// exponent e and whether anything was left over (sticky), with D * 10^E = (q + f) * 2^e, 0 <= f < 1
// and f > 0 exactly when sticky. Rounding q to the double's precision at that exponent is then
// exact: the bits below the kept ones and the sticky flag decide, ties to even.
#include "actions/DecimalDouble.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace zem::actions {
namespace {

// An unsigned integer of any size, least significant 32-bit limb first, without leading zero limbs.
class BigInteger {
 public:
  explicit BigInteger(uint32_t value = 0) {
    if (value != 0) limbs_.push_back(value);
  }

  bool IsZero() const { return limbs_.empty(); }

  void MultiplyAdd(uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (uint32_t& limb : limbs_) {
      const uint64_t product = uint64_t(limb) * factor + carry;
      limb = uint32_t(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(uint32_t(carry));
  }

  void MultiplyByPowerOfTen(int exponent) {
    for (; exponent >= 9; exponent -= 9) MultiplyAdd(1000000000u, 0);
    static const uint32_t kSmall[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    if (exponent > 0) MultiplyAdd(kSmall[exponent], 0);
  }

  void ShiftLeft(int bits) {
    if (IsZero() || bits == 0) return;
    const size_t whole = size_t(bits / 32);
    const int part = bits % 32;
    if (part != 0) {
      uint32_t carry = 0;
      for (uint32_t& limb : limbs_) {
        const uint32_t next = limb >> (32 - part);
        limb = (limb << part) | carry;
        carry = next;
      }
      if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), whole, 0u);
  }

  int BitLength() const {
    if (IsZero()) return 0;
    int bits = int(limbs_.size() - 1) * 32;
    for (uint32_t top = limbs_.back(); top != 0; top >>= 1) ++bits;
    return bits;
  }

  bool Bit(int index) const {
    const size_t limb = size_t(index / 32);
    return limb < limbs_.size() && (limbs_[limb] >> (index % 32)) & 1u;
  }

  // Whether any bit below `index` is set.
  bool AnyBitBelow(int index) const {
    const size_t whole = size_t(index / 32);
    for (size_t i = 0; i < whole && i < limbs_.size(); ++i) {
      if (limbs_[i] != 0) return true;
    }
    const int part = index % 32;
    return part != 0 && whole < limbs_.size() && (limbs_[whole] & ((1u << part) - 1)) != 0;
  }

  static int Compare(const BigInteger& a, const BigInteger& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (size_t i = a.limbs_.size(); i-- > 0;) {
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
  }

  // *this -= other, where other <= *this.
  void Subtract(const BigInteger& other) {
    int64_t borrow = 0;
    for (size_t i = 0; i < limbs_.size(); ++i) {
      int64_t difference = int64_t(limbs_[i]) - borrow - (i < other.limbs_.size() ? int64_t(other.limbs_[i]) : 0);
      borrow = difference < 0 ? 1 : 0;
      limbs_[i] = uint32_t(difference + (borrow << 32));
    }
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

 private:
  std::vector<uint32_t> limbs_;
};

// More significant digits than this never change the rounding: a double's halfway points have at
// most 767 of them. Dropped digits that are not all zero are kept as one trailing 1.
constexpr size_t kMaxDigits = 800;

// A value of (q + f) * 2^exponent with q in [2^63, 2^64), as described at the top.
struct Scaled {
  uint64_t q;
  int exponent;
  bool sticky;
};

// q: the integer's top 64 bits; the exact integer shifted up when it has fewer.
Scaled ScaleInteger(const BigInteger& value) {
  const int bits = value.BitLength();
  Scaled scaled{0, bits - 64, false};
  for (int i = 0; i < 64; ++i) {
    const int index = bits - 1 - i;
    scaled.q = (scaled.q << 1) | uint64_t(index >= 0 && value.Bit(index));
  }
  scaled.sticky = bits > 64 && value.AnyBitBelow(bits - 64);
  return scaled;
}

// q: the top 64 bits of numerator / denominator, by long division.
Scaled ScaleQuotient(BigInteger numerator, BigInteger denominator) {
  // numerator * 2^shift / denominator lies in (2^62, 2^64).
  const int shift = 63 - numerator.BitLength() + denominator.BitLength();
  if (shift > 0) {
    numerator.ShiftLeft(shift);
  } else {
    denominator.ShiftLeft(-shift);
  }
  Scaled scaled{0, -shift, false};
  for (int bit = 63; bit >= 0; --bit) {
    BigInteger part = denominator;
    part.ShiftLeft(bit);
    if (BigInteger::Compare(numerator, part) >= 0) {
      numerator.Subtract(part);
      scaled.q |= uint64_t(1) << bit;
    }
  }
  if (scaled.q >> 63 == 0) {
    numerator.ShiftLeft(1);
    const bool next = BigInteger::Compare(numerator, denominator) >= 0;
    if (next) numerator.Subtract(denominator);
    scaled.q = (scaled.q << 1) | uint64_t(next);
    --scaled.exponent;
  }
  scaled.sticky = !numerator.IsZero();
  return scaled;
}

// The double nearest (q + f) * 2^exponent, ties to even; infinity when it is too large.
double Round(const Scaled& scaled) {
  const int top = 63 + scaled.exponent;  // the binary exponent of q's leading bit
  if (top > 1023) return HUGE_VAL;
  // 53 significant bits for a normal double; fewer below 2^-1022, down to none below 2^-1075.
  const int precision = top >= -1022 ? 53 : top + 1075;
  const int dropped = 64 - precision;
  if (dropped > 64) return 0;
  uint64_t kept;
  bool up;
  if (dropped == 64) {
    kept = 0;
    up = (scaled.q & ~(uint64_t(1) << 63)) != 0 || scaled.sticky;  // above the halfway point 2^63
  } else {
    kept = scaled.q >> dropped;
    const uint64_t rest = scaled.q & ((uint64_t(1) << dropped) - 1);
    const uint64_t half = uint64_t(1) << (dropped - 1);
    up = rest > half || (rest == half && (scaled.sticky || (kept & 1) != 0));
  }
  if (up) ++kept;
  return std::ldexp(double(kept), scaled.exponent + dropped);
}

}  // namespace

DecimalResult ReadDecimalDouble(std::string_view text, double& value) {
  size_t pos = 0;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;

  // The significant digits without leading zeros, and the decimal exponent of the last one.
  std::string digits;
  bool droppedNonZero = false;
  long long exponent = 0;
  auto isDigit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  auto takeDigit = [&](char digit, bool fraction) {
    if (digits.empty() && digit == '0') {
      if (fraction) --exponent;
      return;
    }
    if (digits.size() < kMaxDigits) {
      digits += digit;
      if (fraction) --exponent;
    } else {
      droppedNonZero = droppedNonZero || digit != '0';
      if (!fraction) ++exponent;
    }
  };
  if (!isDigit(pos)) return DecimalResult::kMalformed;
  while (isDigit(pos)) takeDigit(text[pos++], false);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    if (!isDigit(pos)) return DecimalResult::kMalformed;
    while (isDigit(pos)) takeDigit(text[pos++], true);
  }
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    const bool negativeExponent = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    if (!isDigit(pos)) return DecimalResult::kMalformed;
    long long written = 0;
    // Saturated far beyond any double's range, so that no exponent overflows.
    while (isDigit(pos)) written = std::min(written * 10 + (text[pos++] - '0'), 1000000000LL);
    exponent += negativeExponent ? -written : written;
  }
  if (pos != text.size()) return DecimalResult::kMalformed;

  const double sign = negative ? -1.0 : 1.0;
  if (droppedNonZero) {
    digits += '1';
    --exponent;
  } else {
    while (!digits.empty() && digits.back() == '0') {
      digits.pop_back();
      ++exponent;
    }
  }
  if (digits.empty()) {
    value = sign * 0.0;
    return DecimalResult::kOk;
  }
  // The value lies in [10^(n-1+E), 10^(n+E)): beyond 10^309 it exceeds every double, below
  // 10^-324 it is less than half the smallest one.
  const long long magnitude = static_cast<long long>(digits.size()) + exponent;
  if (magnitude - 1 > 309) return DecimalResult::kOutOfRange;
  if (magnitude < -324) return DecimalResult::kOutOfRange;

  BigInteger significand;
  for (char digit : digits) significand.MultiplyAdd(10, uint32_t(digit - '0'));
  Scaled scaled;
  if (exponent >= 0) {
    significand.MultiplyByPowerOfTen(int(exponent));
    scaled = ScaleInteger(significand);
  } else {
    BigInteger power(1);
    power.MultiplyByPowerOfTen(int(-exponent));
    scaled = ScaleQuotient(significand, power);
  }
  const double magnitudeValue = Round(scaled);
  if (magnitudeValue == 0 || std::isinf(magnitudeValue)) return DecimalResult::kOutOfRange;
  value = sign * magnitudeValue;
  return DecimalResult::kOk;
}

}  // namespace zem::actions
