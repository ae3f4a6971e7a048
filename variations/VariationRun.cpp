#include "VariationRun.h"

namespace zem {

void RunVariations() {}

}  // namespace zem
