// ChangePixelsWithinSelection: a change to a layer's pixels kept only where the selection is.
#pragma once

#include "document/steps/Handlers.h"

namespace zem::document::steps {

template <typename Change>
void ChangePixelsWithinSelection(Document& document, Layer& layer, Change change) {
  hostsim::Image& pixels = Document::WritablePixels(layer);
  const SelectionMask& selection = document.selection();
  if (!selection.active) {
    change(pixels);
    return;
  }
  hostsim::Image changed = pixels;
  change(changed);
  for (size_t i = 0; i < selection.coverage.size(); ++i) {
    const int c = selection.coverage[i];
    if (c == 0) continue;
    for (int k = 0; k < 3; ++k) {
      uint8_t& out = pixels.rgb[i * 3 + k];
      out = uint8_t((out * (255 - c) + changed.rgb[i * 3 + k] * c + 127) / 255);
    }
  }
}

}  // namespace zem::document::steps
