// The steps on the selection: all, none, rectangle, ellipse, from a layer's transparency or mask,
// inverse and feather.
#include <algorithm>
#include <cmath>

#include "document/steps/Filters.h"
#include "document/steps/Handlers.h"

namespace zem::document::steps {
namespace {

namespace type = zem::actions::type;

struct Box {
  double top, left, bottom, right;
};

Box BoxOf(const Descriptor& shape, const Document& document) {
  auto edge = [&](const char (&key)[5], double whole) {
    const Value* value = Find(shape, key);
    if (value == nullptr) Refuse(std::string("the shape has no '") + key + "'");
    // Far outside the document is as good as at its edge, and keeps the arithmetic finite.
    return std::clamp(PixelsOf(*value, whole, std::string("the shape's '") + key + "'"), -4.0 * hostsim::kMaxImageSide,
                      4.0 * hostsim::kMaxImageSide);
  };
  return {edge("Top ", document.height()), edge("Left", document.width()), edge("Btom", document.height()),
          edge("Rght", document.width())};
}

// The share of [a, b) inside pixel column x, [x, x + 1).
float Overlap(double a, double b, int x) { return float(std::max(0.0, std::min(b, x + 1.0) - std::max(a, double(x)))); }

Mask Rectangle(const Box& box, int width, int height) {
  Mask mask(size_t(width) * height, 0);
  // Hard edges, as Photoshop's rectangles: a pixel is in when its centre is.
  const int top = std::max(0, int(std::ceil(box.top - 0.5))), bottom = std::min(height, int(std::ceil(box.bottom - 0.5)));
  const int left = std::max(0, int(std::ceil(box.left - 0.5))), right = std::min(width, int(std::ceil(box.right - 0.5)));
  for (int y = top; y < bottom; ++y) std::fill(&mask[size_t(y) * width + left], &mask[size_t(y) * width + left] + std::max(0, right - left), 255);
  return mask;
}

// Anti-aliased: each pixel covered by its share, measured on four scanlines per row.
Mask Ellipse(const Box& box, int width, int height, bool antiAlias) {
  Mask mask(size_t(width) * height, 0);
  const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const double rx = std::fabs(box.right - box.left) / 2, ry = std::fabs(box.bottom - box.top) / 2;
  if (rx <= 0 || ry <= 0) return mask;
  const int top = std::max(0, int(std::floor(cy - ry))), bottom = std::min(height, int(std::ceil(cy + ry)));
  std::vector<float> row(static_cast<size_t>(width));
  for (int y = top; y < bottom; ++y) {
    std::fill(row.begin(), row.end(), 0.0f);
    const int samples = antiAlias ? 4 : 1;
    for (int s = 0; s < samples; ++s) {
      const double sy = antiAlias ? y + (s + 0.5) / 4 : y + 0.5;
      const double t = (sy - cy) / ry;
      if (t <= -1 || t >= 1) continue;
      const double half = rx * std::sqrt(1 - t * t);
      const double a = cx - half, b = cx + half;
      const int first = std::max(0, int(std::floor(a))), last = std::min(width - 1, int(std::ceil(b)));
      for (int x = first; x <= last; ++x) {
        row[size_t(x)] += antiAlias ? Overlap(a, b, x) / 4 : (x + 0.5 >= a && x + 0.5 < b ? 1.0f : 0.0f);
      }
    }
    for (int x = 0; x < width; ++x) mask[size_t(y) * width + x] = uint8_t(std::min(1.0f, row[size_t(x)]) * 255 + 0.5f);
  }
  return mask;
}

void FeatherMask(Mask& mask, int width, int height, double radius) {
  if (radius <= 0) return;
  hostsim::Image plane(width, height);
  for (size_t i = 0; i < mask.size(); ++i) plane.rgb[i * 3] = mask[i];
  GaussianBlur(plane, std::min(radius, kMaxFilterRadius));
  for (size_t i = 0; i < mask.size(); ++i) mask[i] = plane.rgb[i * 3];
}

}  // namespace

StepOutcome SetSelection(StepContext& step, const Value& to) {
  Document& document = step.document;
  SelectionMask& selection = document.selection();
  const int w = document.width(), h = document.height();
  if (to.type == type::kEnumerated) {
    const Id& which = EnumOf(to, "the selection").value;
    if (which.Is(MakeFourCC("Al  "))) {
      selection.active = true;
      selection.coverage.assign(size_t(w) * h, 255);
      return StepOutcome::Played;
    }
    if (which.Is(MakeFourCC("None"))) {
      selection.active = false;
      selection.coverage.clear();
      return StepOutcome::Played;
    }
    Refuse("a selection of " + KeyText(which) + " is not modelled");
  }
  if (to.type == type::kReference) {
    const auto& items = ReferenceOf(to, "the selection's source").items;
    if (items.empty() || items[0].form != MakeFourCC("Enmr")) Refuse("a selection from that source is not modelled");
    const Id& which = items[0].enumerated.value;
    Layer* layer = document.Current();
    if (layer == nullptr) Refuse("there is no current layer");
    if (which.Is(MakeFourCC("Trsp"))) {
      selection.active = true;
      selection.coverage = layer->alpha ? *layer->alpha : Mask(size_t(w) * h, 255);
      return StepOutcome::Played;
    }
    if (which.Is(MakeFourCC("Msk "))) {
      if (!layer->hasMask) Refuse("the current layer has no mask");
      selection.active = true;
      selection.coverage = layer->mask ? *layer->mask : Mask(size_t(w) * h, 255);
      return StepOutcome::Played;
    }
    Refuse("a selection from the channel " + KeyText(which) + " is not modelled");
  }
  if (to.type == type::kObject || to.type == type::kGlobalObject) {
    const Descriptor& shape = ObjectOf(to, "the selection's shape");
    const bool antiAlias = FlagOf(Find(step.descriptor, "AntA"), true, "anti-alias (AntA)");
    const double feather = NumberIn(Find(step.descriptor, "Fthr"), 0, 1000, 0, "the feather (Fthr)");
    Mask mask;
    if (shape.classId.Is(MakeFourCC("Rctn"))) {
      mask = Rectangle(BoxOf(shape, document), w, h);
    } else if (shape.classId.Is(MakeFourCC("Elps"))) {
      mask = Ellipse(BoxOf(shape, document), w, h, antiAlias);
    } else if (shape.classId.Is(MakeFourCC("Pnt "))) {
      // The magic wand: the colours near the one at the point, of the composite.
      int x = 0, y = 0;
      PointOf(to, document, x, y);
      const int tolerance = int(NumberIn(Find(step.descriptor, "Tlrn"), 0, 255, 32, "the tolerance (Tlrn)"));
      const bool contiguous = FlagOf(Find(step.descriptor, "Cntg"), true, "contiguous (Cntg)");
      mask = SimilarColour(document, x, y, tolerance, contiguous, step.workers);
    } else {
      Refuse("a selection of the shape " + KeyText(shape.classId) + " is not modelled");
    }
    FeatherMask(mask, w, h, feather);
    selection.active = true;
    selection.coverage = std::move(mask);
    return StepOutcome::Played;
  }
  Refuse("the selection is given in a form that is not modelled");
}

StepOutcome Inverse(StepContext& step) {
  SelectionMask& selection = step.document.selection();
  if (!selection.active) return StepOutcome::NoOp;  // the command is unavailable with nothing selected
  for (uint8_t& v : selection.coverage) v = uint8_t(255 - v);
  return StepOutcome::Played;
}

StepOutcome Feather(StepContext& step) {
  const Value* radius = Find(step.descriptor, "Rds ");
  if (radius == nullptr) Refuse("the feather has no radius (Rds)");
  const double pixels = PixelsOf(*radius, step.document.width(), "the feather radius (Rds)");
  if (pixels < 0.1 || pixels > 1000) Refuse("a feather radius of " + std::to_string(pixels) + " pixels is outside 0.1..1000");
  SelectionMask& selection = step.document.selection();
  if (!selection.active) return StepOutcome::NoOp;
  FeatherMask(selection.coverage, step.document.width(), step.document.height(), pixels);
  return StepOutcome::Played;
}

}  // namespace zem::document::steps
