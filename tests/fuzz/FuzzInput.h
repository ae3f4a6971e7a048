// Reads a fuzzer's input as a sequence of choices; past its end every choice is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }

  uint32_t Word() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }

  int32_t Int() {
    const uint32_t word = Word();
    int32_t value;
    std::memcpy(&value, &word, sizeof value);
    return value;
  }

  // A number from 0 to limit - 1.
  int Below(int limit) { return limit <= 1 ? 0 : Byte() % limit; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
};
