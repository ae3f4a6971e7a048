#include "variations/SplitRegion.h"

#include "hostaccess/DocumentSize.h"

namespace zem {
namespace {

// k·width/8, the product formed first. It is formed in 64 bits so that a width too large for the
// 32-bit product still gives its true eighth instead of overflowing; for every width that fits,
// the result is the same as in 32 bits.
int32_t Eighths(int k, int32_t width) { return static_cast<int32_t>(static_cast<int64_t>(k) * width / 8); }

int32_t SelectRegionOfMode(SplitMode mode, int32_t width, int32_t height) {
  const double fullHeight = height;
  switch (mode) {
    case DiagonalSplit:
      return SelectDiagonalHalf(width, height);
    case HalfVertical:
      return SelectLeftPart(width, height);
    case HalfHorizontal:
      return SelectTopPart(width, height);
    case Strips4Vertical:
      if (int32_t error = SelectLeftPart(width / 2, height)) return error;
      return AddRectangle(0, width / 2, fullHeight, width - width / 4);
    case Strips8Vertical:
      if (int32_t error = SelectLeftPart(width / 4, height)) return error;
      for (int strip = 2; strip <= 6; strip += 2) {
        if (int32_t error = AddRectangle(0, Eighths(strip, width), fullHeight, Eighths(strip + 1, width))) {
          return error;
        }
      }
      return 0;
    case LeftRightQuarter:
      return SelectLeftQuarter(width, height);
    case RightQuarter:
      return SelectRightQuarter(width, height);
    default:
      return 0;
  }
}

}  // namespace

int32_t SelectSplitRegion(SplitMode mode) {
  int32_t width = 10000;
  int32_t height = 10000;
  // A failed height query is not fatal: the step goes on with the preset height.
  QueryDocumentHeight(&height);
  int32_t result = QueryDocumentWidth(&width);
  if (result == 0) result = Deselect();
  if (result == 0) result = SelectRegionOfMode(mode, width, height);
  RunStatus = result;
  return result;
}

}  // namespace zem
