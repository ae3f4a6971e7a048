// A generated photo: the same picture on every run, at any size, with a photo's tones and a
// photo's PNG size, for the benchmarks that time the reference host on a real image's size.
#pragma once

#include "imaging/Image.h"

namespace bench {

// A landscape with a face: a graded sky, textured hills, a shaded skin-toned ellipse and film
// grain, laid out in proportion to `width` x `height` (drawn for 4000 x 3000).
hostsim::Image PhotoLikeImage(int width, int height);

}  // namespace bench
