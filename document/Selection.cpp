#include "document/Selection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace hostsim {
namespace {

// The first pixel whose centre lies at or past `edge`, held to 0..count so that an edge far
// outside the document (or not a number, taken as 0) cannot overflow the conversion to int.
int FirstCentreFrom(double edge, int count) {
  const double first = std::ceil(edge - 0.5);
  return first > 0 ? (first < count ? static_cast<int>(first) : count) : 0;
}

// An edge as the rectangle is drawn with it: not a number is 0.
double Edge(double edge) { return std::isnan(edge) ? 0.0 : edge; }

// A rectangle with two equal opposite edges has no area: it is no shape at all, the way a click
// of the marquee without a drag deselects.
bool HasNoArea(double top, double left, double bottom, double right) {
  return Edge(top) == Edge(bottom) || Edge(left) == Edge(right);
}

// Whether the corners all lie on one line, so that the polygon encloses no area. (A signed area
// of 0 would not tell: a figure eight has one and encloses two triangles.)
bool OnOneLine(const std::vector<Point>& points) {
  const Point& origin = points.front();
  const Point* far = nullptr;  // a corner other than the origin, giving the line's direction
  for (const Point& p : points) {
    if (p.x != origin.x || p.y != origin.y) {
      far = &p;
      break;
    }
  }
  if (far == nullptr) return true;
  const double dx = far->x - origin.x, dy = far->y - origin.y;
  return std::all_of(points.begin(), points.end(),
                     [&](const Point& p) { return dx * (p.y - origin.y) == dy * (p.x - origin.x); });
}

}  // namespace

void Selection::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  Clear();
}

void Selection::Clear() {
  active_ = false;
  const size_t pixels = static_cast<size_t>(width_) * height_;
  if (coverage_.size() != pixels || rowLeft_.size() != static_cast<size_t>(height_) ||
      fullLeft_.size() != static_cast<size_t>(height_)) {
    coverage_.Reset(pixels);
  } else {
    // Every coverage written lies within its row's columns [left, right), outside its whole ones.
    for (int y = 0; y < height_; ++y) {
      float* row = &coverage_[static_cast<size_t>(y) * width_];
      const int left = rowLeft_[y], right = rowRight_[y];
      if (left >= right) continue;
      if (fullLeft_[y] < fullRight_[y]) {
        std::fill(row + left, row + std::max(left, fullLeft_[y]), 0.0f);
        std::fill(row + std::min(right, fullRight_[y]), row + right, 0.0f);
      } else {
        std::fill(row + left, row + right, 0.0f);
      }
    }
  }
  fullLeft_.assign(height_, 0);
  fullRight_.assign(height_, 0);
  bounds_ = PixelBox{};
  rowLeft_.assign(height_, width_);
  rowRight_.assign(height_, 0);
}

void Selection::Include(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  for (int y = top; y < bottom; ++y) {
    rowLeft_[y] = std::min(rowLeft_[y], left);
    rowRight_[y] = std::max(rowRight_[y], right);
  }
  if (bounds_.empty()) {
    bounds_ = PixelBox{left, top, right, bottom};
    return;
  }
  bounds_.left = std::min(bounds_.left, left);
  bounds_.top = std::min(bounds_.top, top);
  bounds_.right = std::max(bounds_.right, right);
  bounds_.bottom = std::max(bounds_.bottom, bottom);
}

void Selection::SetRectangle(double top, double left, double bottom, double right) {
  Clear();
  if (HasNoArea(top, left, bottom, right)) return;
  active_ = true;
  FillRectangle(top, left, bottom, right);
}

void Selection::AddRectangle(double top, double left, double bottom, double right) {
  if (HasNoArea(top, left, bottom, right)) return;
  if (!active_) Clear();
  active_ = true;
  FillRectangle(top, left, bottom, right);
}

void Selection::FillRectangle(double top, double left, double bottom, double right) {
  const int x0 = FirstCentreFrom(left, width_), x1 = FirstCentreFrom(right, width_);
  const int y0 = FirstCentreFrom(top, height_), y1 = FirstCentreFrom(bottom, height_);
  for (int y = y0; y < y1; ++y) {
    float* row = &coverage_[static_cast<size_t>(y) * width_];
    // A rectangle added to a polygon: the polygon's whole columns are written out first, so that
    // the coverage held is all there is to clear.
    if (fullLeft_[y] < fullRight_[y]) std::fill(row + fullLeft_[y], row + fullRight_[y], 1.0f);
    fullLeft_[y] = fullRight_[y] = 0;
    std::fill(row + x0, row + std::max(x0, x1), 1.0f);
  }
  Include(x0, y0, x1, y1);
}

// The crossings of one scanline, and the pixel columns where a row's coverage may change.
struct Selection::RowScratch {
  std::vector<double> crossings;
  struct Span {
    double from, to;
  };
  std::vector<Span> spans;  // of every scanline of the row, in scanline order
  std::vector<int> breaks;
  struct Piece {
    int left, right;
    float coverage;
  };
  std::vector<Piece> pieces;  // of the row, each covered alike
};

void Selection::SetPolygon(const std::vector<Point>& points, bool antiAlias, const RowWorkers& workers) {
  Clear();
  // A corner that is not a finite number makes a polygon that selects nothing (its crossings
  // could not be sorted); one whose corners enclose no area is no selection.
  const auto notFinite = [](const Point& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); };
  if (std::any_of(points.begin(), points.end(), notFinite)) {
    active_ = true;
    return;
  }
  if (points.size() < 3 || OnOneLine(points)) return;
  active_ = true;
  // Scratch space for each worker, sized before the work starts, so that no worker allocates.
  std::vector<RowScratch> scratch(static_cast<size_t>(workers.Workers()));
  for (RowScratch& s : scratch) {
    s.crossings.reserve(points.size());
    s.spans.reserve(points.size() * 2);
    s.breaks.reserve(points.size() * 8 + 2);
    s.pieces.reserve(points.size() * 8 + 2);
  }
  workers.Split(0, height_, [&](int worker, int first, int last) {
    for (int y = first; y < last; ++y) RasterisePolygonRow(points, antiAlias, y, scratch[size_t(worker)]);
  });
  for (int y = 0; y < height_; ++y) Include(rowLeft_[y], y, rowRight_[y], y + 1);
}

// Scanlines through the polygon: four per pixel row with anti-aliasing, each span's horizontal
// coverage exact; one through the pixel centres without, a pixel inside when its centre is.
//
// With anti-aliasing, a pixel's coverage is the sum over the scanlines of the share of the pixel
// each span covers, a quarter for a whole pixel, held to 1 as it is added up. Only the pixels at
// the ends of spans are partly covered; between two consecutive span ends every pixel is covered
// alike. So the row is cut at those ends, the sum is worked out for the first pixel of each piece
// and the piece is filled with it: the cost is the edges plus a fill of the span.
void Selection::RasterisePolygonRow(const std::vector<Point>& points, bool antiAlias, int y, RowScratch& scratch) {
  const int lines = antiAlias ? 4 : 1;
  const float weight = 1.0f / lines;
  float* row = &coverage_[static_cast<size_t>(y) * width_];
  scratch.spans.clear();
  scratch.pieces.clear();
  for (int line = 0; line < lines; ++line) {
    const double scanY = y + (line + 0.5) / lines;
    std::vector<double>& crossings = scratch.crossings;
    crossings.clear();
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point& a = points[i];
      const Point& b = points[j];
      if ((a.y > scanY) == (b.y > scanY)) continue;
      // Corners near the limits of a double can overflow to a crossing that is no number.
      const double crossing = a.x + (b.x - a.x) * (scanY - a.y) / (b.y - a.y);
      if (!std::isnan(crossing)) crossings.push_back(crossing);
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const double from = std::max(0.0, crossings[k]);
      const double to = std::min(static_cast<double>(width_), crossings[k + 1]);
      if (from >= to) continue;
      if (!antiAlias) {
        const int x0 = FirstCentreFrom(from, width_), x1 = FirstCentreFrom(to, width_);
        if (x0 < x1) scratch.pieces.push_back({x0, x1, 1.0f});
        continue;
      }
      scratch.spans.push_back({from, to});
    }
  }
  if (antiAlias && !scratch.spans.empty()) {
    // Each span's partly covered pixels are those at floor(from) and floor(to): cutting the row
    // before and after each gives pieces whose pixels are each covered alike.
    std::vector<int>& breaks = scratch.breaks;
    breaks.clear();
    for (const RowScratch::Span& span : scratch.spans) {
      const int from = static_cast<int>(std::floor(span.from)), to = static_cast<int>(std::floor(span.to));
      breaks.insert(breaks.end(), {from, from + 1, to, to + 1});
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    for (size_t b = 0; b + 1 < breaks.size(); ++b) {
      const int x = breaks[b], end = std::min(breaks[b + 1], width_);
      if (x >= end) break;
      float sum = 0;
      bool covered = false;
      for (const RowScratch::Span& span : scratch.spans) {
        if (x < std::floor(span.from) || x >= span.to) continue;
        const double share = std::min<double>(x + 1, span.to) - std::max<double>(x, span.from);
        if (share > 0) {
          sum = std::min(1.0f, sum + static_cast<float>(share) * weight);
          covered = true;
        }
      }
      if (covered) scratch.pieces.push_back({x, end, sum});
    }
  }
  // The longest piece covered whole is kept by its ends; the others are written.
  const RowScratch::Piece* longest = nullptr;
  for (const RowScratch::Piece& piece : scratch.pieces) {
    if (piece.coverage >= 1.0f && (longest == nullptr || piece.right - piece.left > longest->right - longest->left)) {
      longest = &piece;
    }
  }
  int rowLeft = width_, rowRight = 0;
  for (const RowScratch::Piece& piece : scratch.pieces) {
    if (&piece != longest) std::fill(row + piece.left, row + piece.right, piece.coverage);
    rowLeft = std::min(rowLeft, piece.left), rowRight = std::max(rowRight, piece.right);
  }
  rowLeft_[y] = rowLeft;
  rowRight_[y] = rowRight;
  if (longest != nullptr) fullLeft_[y] = longest->left, fullRight_[y] = longest->right;
}

// A row's whole columns hold 0 in the coverage: they are counted by their ends.
int Selection::SelectedPixels() const {
  if (!active_) return 0;
  int64_t pixels = std::count_if(coverage_.begin(), coverage_.end(), [](float c) { return c >= 0.5f; });
  for (int y = 0; y < height_; ++y) pixels += std::max(0, fullRight_[y] - fullLeft_[y]);
  return static_cast<int>(pixels);
}

double Selection::Area() const {
  double area = 0;
  if (active_) {
    for (float c : coverage_) area += c;
    for (int y = 0; y < height_; ++y) area += std::max(0, fullRight_[y] - fullLeft_[y]);
  }
  return area;
}

}  // namespace hostsim
