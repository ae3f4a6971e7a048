// The picture of a run: a title, then the original and one tile per action, each labelled.
#pragma once

#include <string>
#include <vector>

#include "document/Canvas.h"

namespace hostsim {

constexpr int kTileWidth = 240;
constexpr int kSheetColumns = 5;

Image ContactSheet(const std::string& title, const std::vector<Tile>& tiles);

// Draws text in the built-in bitmap font, `scale` pixels per font pixel, its top-left corner at
// (x, y); whatever falls outside the image is dropped.
void DrawText(Image& image, int x, int y, const std::string& text, int scale, const uint8_t colour[3]);

}  // namespace hostsim
