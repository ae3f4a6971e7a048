#include "Selection.h"

#include <algorithm>
#include <cmath>

namespace hostsim {
namespace {

// Even-odd rule: whether the point lies inside the closed polygon.
bool Inside(const std::vector<Point>& polygon, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// The first pixel whose centre lies at or past `edge`.
int FirstCentreFrom(double edge) { return static_cast<int>(std::ceil(edge - 0.5)); }

}  // namespace

void Selection::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  Clear();
}

void Selection::Clear() {
  active_ = false;
  coverage_.assign(static_cast<size_t>(width_) * height_, 0.0f);
}

void Selection::SetRectangle(double top, double left, double bottom, double right) {
  Clear();
  active_ = true;
  FillRectangle(top, left, bottom, right);
}

void Selection::AddRectangle(double top, double left, double bottom, double right) {
  if (!active_) coverage_.assign(coverage_.size(), 0.0f);
  active_ = true;
  FillRectangle(top, left, bottom, right);
}

void Selection::FillRectangle(double top, double left, double bottom, double right) {
  const int x0 = std::max(0, FirstCentreFrom(left)), x1 = std::min(width_, FirstCentreFrom(right));
  const int y0 = std::max(0, FirstCentreFrom(top)), y1 = std::min(height_, FirstCentreFrom(bottom));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) coverage_[static_cast<size_t>(y) * width_ + x] = 1.0f;
  }
}

void Selection::SetPolygon(const std::vector<Point>& points, bool antiAlias) {
  Clear();
  active_ = true;
  if (points.size() < 3) return;
  double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
  for (const Point& p : points) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(maxX)));
  const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(maxY)));
  constexpr int kSamples = 4;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float covered;
      if (antiAlias) {
        int hits = 0;
        for (int sy = 0; sy < kSamples; ++sy) {
          for (int sx = 0; sx < kSamples; ++sx) {
            hits += Inside(points, x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
          }
        }
        covered = static_cast<float>(hits) / (kSamples * kSamples);
      } else {
        covered = Inside(points, x + 0.5, y + 0.5) ? 1.0f : 0.0f;
      }
      coverage_[static_cast<size_t>(y) * width_ + x] = covered;
    }
  }
}

int Selection::SelectedPixels() const {
  if (!active_) return 0;
  return static_cast<int>(std::count_if(coverage_.begin(), coverage_.end(), [](float c) { return c >= 0.5f; }));
}

double Selection::Area() const {
  double area = 0;
  if (active_) {
    for (float c : coverage_) area += c;
  }
  return area;
}

}  // namespace hostsim
