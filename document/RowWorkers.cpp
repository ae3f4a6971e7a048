#include "document/RowWorkers.h"

namespace hostsim {

void RowWorkers::Split(int top, int bottom, const Work& work) const {
  if (top < bottom) work(0, top, bottom);
}

const RowWorkers& SerialRows() {
  static const RowWorkers serial;
  return serial;
}

}  // namespace hostsim
