// The active document's size in pixels, asked of the host afresh every time.
#pragma once

#include <cstdint>

namespace zem {

// Each returns the host's code; on success the integer holds the size, otherwise it is untouched.
int32_t QueryDocumentHeight(int32_t* height);
int32_t QueryDocumentWidth(int32_t* width);

}  // namespace zem
