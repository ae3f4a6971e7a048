// The document's selection as a coverage mask: 0 outside, 1 inside, fractions along the edges of
// anti-aliased polygons. With no selection at all, adjustments apply to the whole document.
#pragma once

#include <cstddef>
#include <vector>

#include "document/RowWorkers.h"
#include "document/ZeroedFloats.h"

namespace hostsim {

struct Point {
  double x;
  double y;
};

// A box of pixels, right and bottom exclusive.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

class Selection {
 public:
  void Resize(int width, int height);
  // "Select none".
  void Clear();
  // A pixel is inside a rectangle or a hard-edged polygon when its centre is. A rectangle or
  // polygon of no area is no selection: setting one selects none, adding one changes nothing,
  // so that what follows applies to the whole document if nothing else is selected. A shape of
  // some area outside the document, or between pixel centres, is a selection of no pixels.
  void SetRectangle(double top, double left, double bottom, double right);
  void AddRectangle(double top, double left, double bottom, double right);
  // Anti-aliased edges cover each pixel by its share inside the polygon, measured on four
  // scanlines per pixel row. A polygon with a corner that is not a finite number selects nothing.
  // The rows are rasterised by `workers`.
  void SetPolygon(const std::vector<Point>& points, bool antiAlias, const RowWorkers& workers = SerialRows());

  bool active() const { return active_; }
  // Coverage of a pixel: 1 everywhere while nothing is selected.
  float At(int x, int y) const {
    if (!active_ || (x >= fullLeft_[y] && x < fullRight_[y])) return 1.0f;
    return coverage_[static_cast<size_t>(y) * width_ + x];
  }
  // Pixels at least half covered; 0 while nothing is selected.
  int SelectedPixels() const;
  // The summed coverage, the selected area in pixels.
  double Area() const;
  // The smallest box holding every pixel with coverage above 0, kept up to date as the selection
  // changes; empty while nothing is selected, when everything is affected.
  const PixelBox& Bounds() const { return bounds_; }
  // The columns [left, right) of row y (inside the document) that hold every pixel of the row
  // with coverage above 0; left >= right for a row with none.
  int RowLeft(int y) const { return rowLeft_[y]; }
  int RowRight(int y) const { return rowRight_[y]; }
  // The columns [left, right) of row y (inside the document) that a polygon covers whole, left >= right
  // for none. A polygon's rows are mostly whole pixels between two edges: those are known by their
  // ends alone, so that selecting and clearing them writes nothing.
  int FullLeft(int y) const { return fullLeft_[y]; }
  int FullRight(int y) const { return fullRight_[y]; }
  // One row of coverage from x = 0, or null while nothing is selected (coverage 1 everywhere). It
  // holds 0 within the row's whole columns, whose coverage is 1.
  const float* CoverageRow(int y) const { return active_ ? &coverage_[static_cast<size_t>(y) * width_] : nullptr; }

 private:
  void FillRectangle(double top, double left, double bottom, double right);
  // The coverage of row y of a polygon, with scratch space of its worker's own.
  struct RowScratch;
  void RasterisePolygonRow(const std::vector<Point>& points, bool antiAlias, int y, RowScratch& scratch);
  void Include(int left, int top, int right, int bottom);

  int width_ = 0;
  int height_ = 0;
  bool active_ = false;
  ZeroedFloats coverage_;
  PixelBox bounds_;
  std::vector<int> rowLeft_, rowRight_;
  std::vector<int> fullLeft_, fullRight_;
};

}  // namespace hostsim
