// Document::TransformAll, which every change of the document's size or orientation goes through.
#pragma once

#include "document/layers/Document.h"
#include "document/layers/Planes.h"

namespace zem::document {

template <typename Visit>
void Document::ForEachLayer(std::vector<Layer>& layers, Visit visit) {
  for (Layer& layer : layers) {
    visit(layer);
    ForEachLayer(layer.children, visit);
  }
}

template <typename Transform>
void Document::TransformAll(Transform transform) {
  int newWidth = width_, newHeight = height_;
  bool measured = false;
  auto maskPlane = [&](const Mask& mask, uint8_t fill) {
    Plane plane = transform(Plane{width_, height_, 1, mask}, &fill);
    newWidth = plane.width, newHeight = plane.height, measured = true;
    return std::make_shared<const Mask>(std::move(plane.bytes));
  };
  ForEachLayer(layers_, [&](Layer& layer) {
    if (layer.mask) layer.mask = maskPlane(*layer.mask, 255);
    if (layer.kind != Layer::Kind::Pixels || !layer.pixels) return;
    // Outside the old document a background shows the background colour, any other layer nothing.
    const uint8_t* fill = backgroundColour;
    const uint8_t none[3] = {0, 0, 0};
    if (!layer.background) {
      fill = none;
      if (!layer.alpha) layer.alpha = std::make_shared<const Mask>(size_t(width_) * height_, uint8_t(255));
    }
    if (layer.alpha) layer.alpha = maskPlane(*layer.alpha, 0);
    Plane plane = transform(Plane{layer.pixels->width, layer.pixels->height, 3, layer.pixels->rgb}, fill);
    auto image = std::make_shared<hostsim::Image>();
    image->width = plane.width, image->height = plane.height, image->rgb = std::move(plane.bytes);
    newWidth = plane.width, newHeight = plane.height, measured = true;
    layer.pixels = std::move(image);
  });
  if (selection_.active) selection_.coverage = *maskPlane(selection_.coverage, 0);
  // Every plane gets the same size; a document of fill and adjustment layers alone is measured
  // by a plane of nothing.
  if (!measured) {
    const uint8_t zero = 0;
    Plane probe = transform(Plane{width_, height_, 1, Mask(size_t(width_) * height_)}, &zero);
    newWidth = probe.width, newHeight = probe.height;
  }
  SetSize(newWidth, newHeight);
}

}  // namespace zem::document
