// A buffer of floats that starts as zeros without writing them. It comes from calloc, whose large
// blocks are fresh pages of zeros from the system (on Windows and on Linux alike), so that the
// pages of a large selection mask that no selection writes are never touched, nor counted in the
// process's memory.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace hostsim {

class ZeroedFloats {
 public:
  ZeroedFloats() = default;
  ZeroedFloats(ZeroedFloats&&) noexcept = default;
  ZeroedFloats& operator=(ZeroedFloats&&) noexcept = default;
  ZeroedFloats(const ZeroedFloats& other) { *this = other; }
  ZeroedFloats& operator=(const ZeroedFloats& other) {
    if (this != &other) {
      Reset(other.size_);
      if (size_ != 0) std::memcpy(data_.get(), other.data_.get(), size_ * sizeof(float));
    }
    return *this;
  }

  // `count` zeros in place of what it held; throws std::bad_alloc when there is not the memory.
  void Reset(size_t count) {
    data_.reset();
    size_ = 0;
    if (count == 0) return;
    data_.reset(static_cast<float*>(std::calloc(count, sizeof(float))));
    if (data_ == nullptr) throw std::bad_alloc();
    size_ = count;
  }
  size_t size() const { return size_; }
  float& operator[](size_t i) { return data_[i]; }
  const float& operator[](size_t i) const { return data_[i]; }
  const float* begin() const { return data_.get(); }
  const float* end() const { return data_.get() + size_; }

 private:
  struct Free {
    void operator()(float* p) const { std::free(p); }
  };
  std::unique_ptr<float[], Free> data_;
  size_t size_ = 0;
};

}  // namespace hostsim
