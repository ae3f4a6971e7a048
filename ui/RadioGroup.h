#pragma once

#include <windows.h>

namespace zem {

// A contiguous range of radio buttons in one dialog. Until the range and the window are set,
// Select does nothing and Selected answers -1.
class RadioGroup {
 public:
  void SetRange(int first, int last) {
    firstId = first;
    lastId = last;
  }
  // Checks `id` and clears the rest of the range; an identifier outside the range is ignored.
  void Select(int id) const;
  // The first checked button of the range, or -1.
  int Selected() const;

  int firstId = -1;
  int lastId = -1;
  HWND window = nullptr;

 private:
  bool IsSet() const { return firstId != -1 && lastId != -1 && window != nullptr; }
};

}  // namespace zem
