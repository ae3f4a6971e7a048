// The small pictures of the document that the contact sheet shows.
#pragma once

#include "document/RowWorkers.h"
#include "imaging/Image.h"

namespace hostsim {

// The picture scaled to fit a `side` x `side` square, its proportions kept (no side below one
// pixel), each pixel the average of the pixels it covers, rounded to the nearest. The thumbnail's
// rows are shared out by `workers`.
Image Thumbnail(const Image& image, int side, const RowWorkers& workers = SerialRows());

}  // namespace hostsim
