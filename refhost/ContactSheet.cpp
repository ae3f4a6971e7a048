#include "refhost/ContactSheet.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <stb_easy_font.h>

namespace hostsim {
namespace {

constexpr int kMargin = 10;
constexpr int kLabelHeight = 36;
constexpr int kTitleHeight = 34;
constexpr int kTextScale = 2;
constexpr uint8_t kBackground = 40;
constexpr uint8_t kInk[3] = {235, 235, 235};

void Blit(const Image& source, Image& target, int left, int top) {
  for (int y = 0; y < source.height && top + y < target.height; ++y) {
    for (int x = 0; x < source.width && left + x < target.width; ++x) {
      std::copy_n(source.At(x, y), 3, target.At(left + x, top + y));
    }
  }
}

}  // namespace

void DrawText(Image& image, int x, int y, const std::string& text, int scale, const uint8_t colour[3]) {
  struct Vertex {
    float x, y, z;
    unsigned char colour[4];
  };
  // The font has the printable ASCII characters only, and indexes its table by the character: any
  // other byte (each byte of a UTF-8 sequence, too) is drawn as '?', never looked up.
  std::vector<char> characters;
  for (const char c : text) characters.push_back(c == '\n' || (c >= ' ' && c <= '~') ? c : '?');
  characters.push_back('\0');
  std::vector<Vertex> vertices(text.size() * 70 + 4);
  const int quads = stb_easy_font_print(0, 0, characters.data(), nullptr, vertices.data(),
                                        static_cast<int>(vertices.size() * sizeof(Vertex)));
  for (int q = 0; q < quads; ++q) {
    const Vertex* corner = &vertices[static_cast<size_t>(q) * 4];
    const int x0 = x + static_cast<int>(std::lround(corner[0].x * scale));
    const int y0 = y + static_cast<int>(std::lround(corner[0].y * scale));
    const int x1 = x + static_cast<int>(std::lround(corner[2].x * scale));
    const int y1 = y + static_cast<int>(std::lround(corner[2].y * scale));
    for (int py = std::max(0, y0); py < std::min(image.height, y1); ++py) {
      for (int px = std::max(0, x0); px < std::min(image.width, x1); ++px) std::copy_n(colour, 3, image.At(px, py));
    }
  }
}

Image ContactSheet(const std::string& title, const std::vector<Tile>& tiles) {
  int tileHeight = 0;
  for (const Tile& tile : tiles) tileHeight = std::max(tileHeight, tile.picture.height);
  const int rows = std::max(1, (static_cast<int>(tiles.size()) + kSheetColumns - 1) / kSheetColumns);
  const int cellHeight = tileHeight + kLabelHeight;
  Image sheet(kMargin + kSheetColumns * (kTileWidth + kMargin), kTitleHeight + rows * (cellHeight + kMargin),
              kBackground);
  DrawText(sheet, kMargin, kMargin, title, kTextScale, kInk);
  for (size_t i = 0; i < tiles.size(); ++i) {
    const int left = kMargin + static_cast<int>(i % kSheetColumns) * (kTileWidth + kMargin);
    const int top = kTitleHeight + static_cast<int>(i / kSheetColumns) * (cellHeight + kMargin);
    Blit(tiles[i].picture, sheet, left, top);
    DrawText(sheet, left, top + tiles[i].picture.height + 5, tiles[i].label, kTextScale, kInk);
    DrawText(sheet, left, top + tiles[i].picture.height + 23, tiles[i].detail, 1, kInk);
  }
  return sheet;
}

}  // namespace hostsim
