// The filters recorded actions use on a layer's pixels: Gaussian blur, unsharp mask, high pass.
#pragma once

#include "document/RowWorkers.h"
#include "imaging/Image.h"

namespace zem::document {

// The largest radius each filter's dialog allows, in pixels.
constexpr double kMaxFilterRadius = 1000;

// A Gaussian blur of standard deviation `radius` pixels, made of three box blurs across and down;
// pixels beyond the edges repeat the edge.
void GaussianBlur(hostsim::Image& image, double radius, const hostsim::RowWorkers& workers = hostsim::SerialRows());
// Each channel moved away from its blur by `amount` percent of the difference, where the
// difference is at least `threshold` levels.
void UnsharpMask(hostsim::Image& image, double amount, double radius, int threshold,
                 const hostsim::RowWorkers& workers = hostsim::SerialRows());
// The difference from the blur, around middle grey: value - blur + 128.
void HighPass(hostsim::Image& image, double radius, const hostsim::RowWorkers& workers = hostsim::SerialRows());

}  // namespace zem::document
