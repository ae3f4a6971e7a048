// The steps that change the document's size or orientation: image size, canvas size, crop, flip,
// rotate and trim. Every layer, mask and the selection change with the document.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/layers/Planes.h"
#include "document/steps/Handlers.h"

namespace zem::document::steps {
namespace {

namespace type = zem::actions::type;

void CutAll(Document& document, int left, int top, int width, int height) {
  document.TransformAll([&](const Plane& plane, const uint8_t* fill) { return Cut(plane, left, top, width, height, fill); });
}

// Whether the step's target ('null') is a layer rather than the document.
bool TargetsLayer(const Descriptor& d) {
  const Value* target = Find(d, "null");
  if (target == nullptr || target->type != type::kReference) return false;
  const auto& items = std::get<zem::actions::Reference>(target->data).items;
  return !items.empty() && (items[0].classId.Is(MakeFourCC("Lyr ")) || items[0].classId.Is("layer"));
}

}  // namespace

StepOutcome ImageSize(StepContext& step) {
  Document& document = step.document;
  const Descriptor& d = step.descriptor;
  const Value* widthValue = Find(d, "Wdth");
  const Value* heightValue = Find(d, "Hght");
  if (widthValue == nullptr && heightValue == nullptr) return StepOutcome::NoOp;  // the resolution alone
  const double w0 = document.width(), h0 = document.height();
  double width = widthValue ? PixelsOf(*widthValue, w0, "the width (Wdth)") : 0;
  double height = heightValue ? PixelsOf(*heightValue, h0, "the height (Hght)") : 0;
  const bool constrain = FlagOf(Find(d, "CnsP"), true, "constrain proportions (CnsP)");
  if (widthValue == nullptr) width = constrain ? height * w0 / h0 : w0;
  if (heightValue == nullptr) height = constrain ? width * h0 / w0 : h0;
  width = std::round(width), height = std::round(height);
  CheckSize(document, width, height, "Image Size");
  const int newWidth = int(width), newHeight = int(height);
  if (newWidth == document.width() && newHeight == document.height()) return StepOutcome::NoOp;
  document.TransformAll([&](const Plane& plane, const uint8_t*) { return Resample(plane, newWidth, newHeight); });
  return StepOutcome::Played;
}

StepOutcome CanvasSize(StepContext& step) {
  Document& document = step.document;
  const Descriptor& d = step.descriptor;
  const bool relative = FlagOf(Find(d, "Rltv"), false, "relative (Rltv)");
  const double w0 = document.width(), h0 = document.height();
  double width = w0, height = h0;
  if (const Value* value = Find(d, "Wdth")) width = PixelsOf(*value, w0, "the width (Wdth)") + (relative ? w0 : 0);
  if (const Value* value = Find(d, "Hght")) height = PixelsOf(*value, h0, "the height (Hght)") + (relative ? h0 : 0);
  width = std::round(width), height = std::round(height);
  CheckSize(document, width, height, "Canvas Size");
  // Where the old canvas sits in the new one: left, centre or right; top, centre or bottom.
  auto share = [&](const char (&key)[5], const char (&low)[5], const char (&high)[5]) {
    const Value* value = Find(d, key);
    if (value == nullptr) return 0.5;
    const Id& where = EnumOf(*value, "the anchor").value;
    if (where.Is(MakeFourCC(low))) return 0.0;
    if (where.Is(MakeFourCC(high))) return 1.0;
    return 0.5;
  };
  const double across = share("Hrzn", "Left", "Rght"), down = share("Vrtc", "Top ", "Btom");
  const int left = int(std::floor((w0 - width) * across)), top = int(std::floor((h0 - height) * down));
  CutAll(document, left, top, int(width), int(height));
  return StepOutcome::Played;
}

StepOutcome Crop(StepContext& step) {
  Document& document = step.document;
  const Descriptor& d = step.descriptor;
  if (NumberIn(Find(d, "Angl"), -360, 360, 0, "the angle (Angl)") != 0) Refuse("a rotated crop is not modelled");
  double left, top, right, bottom;
  if (const Value* to = Find(d, "T   ")) {
    const Descriptor& box = ObjectOf(*to, "the crop box (T)");
    auto edge = [&](const char (&key)[5], double whole) {
      const Value* value = Find(box, key);
      if (value == nullptr) Refuse(std::string("the crop box has no '") + key + "'");
      return std::clamp(PixelsOf(*value, whole, "the crop box"), -1e6, 1e6);
    };
    top = edge("Top ", document.height()), left = edge("Left", document.width());
    bottom = edge("Btom", document.height()), right = edge("Rght", document.width());
  } else {
    const SelectionMask& selection = document.selection();
    if (!selection.active) Refuse("a crop without a box needs a selection");
    int minX = document.width(), minY = document.height(), maxX = -1, maxY = -1;
    for (int y = 0; y < document.height(); ++y) {
      for (int x = 0; x < document.width(); ++x) {
        if (selection.coverage[size_t(y) * document.width() + x] == 0) continue;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
    }
    if (maxX < 0) Refuse("the selection to crop to is empty");
    left = minX, top = minY, right = maxX + 1, bottom = maxY + 1;
  }
  const double width = std::round(right - left), height = std::round(bottom - top);
  CheckSize(document, width, height, "Crop");
  CutAll(document, int(std::round(left)), int(std::round(top)), int(width), int(height));
  document.selection().active = false;
  document.selection().coverage.clear();
  return StepOutcome::Played;
}

StepOutcome FlipStep(StepContext& step) {
  const Value* axis = Find(step.descriptor, "Axis");
  if (axis == nullptr) Refuse("the flip has no axis (Axis)");
  const Id& which = EnumOf(*axis, "the axis (Axis)").value;
  if (!which.Is(MakeFourCC("Hrzn")) && !which.Is(MakeFourCC("Vrtc"))) Refuse("the axis " + KeyText(which) + " is not known");
  const bool horizontal = which.Is(MakeFourCC("Hrzn"));
  if (TargetsLayer(step.descriptor)) Refuse("flipping one layer is not modelled (flipping the canvas is)");
  step.document.TransformAll([&](const Plane& plane, const uint8_t*) { return Flip(plane, horizontal); });
  return StepOutcome::Played;
}

StepOutcome Rotate(StepContext& step) {
  if (TargetsLayer(step.descriptor)) Refuse("rotating one layer is not modelled (rotating the canvas is)");
  const Value* angleValue = Find(step.descriptor, "Angl");
  if (angleValue == nullptr) Refuse("the rotation has no angle (Angl)");
  double angle = std::fmod(NumberOf(*angleValue, "the angle (Angl)"), 360.0);
  if (angle < 0) angle += 360;
  if (angle == 0) return StepOutcome::NoOp;
  if (angle != 90 && angle != 180 && angle != 270) Refuse("a rotation by " + std::to_string(angle) + " degrees is not modelled (quarter turns are)");
  step.document.TransformAll([&](const Plane& plane, const uint8_t*) {
    return Turn(plane, angle == 90, angle == 180);
  });
  return StepOutcome::Played;
}

StepOutcome Trim(StepContext& step) {
  Document& document = step.document;
  const Descriptor& d = step.descriptor;
  const hostsim::Image composite = document.Composite(step.workers);
  const int w = composite.width, h = composite.height;
  const uint8_t* reference = composite.At(0, 0);
  if (const Value* basis = FindNamed(d, "trimBasedOn")) {
    const Id& which = EnumOf(*basis, "trimBasedOn").value;
    if (which.Is("bottomRightPixelColor")) {
      reference = composite.At(w - 1, h - 1);
    } else if (!which.Is("topLeftPixelColor")) {
      Refuse("trimming by " + KeyText(which) + " is not modelled (by a corner's colour is)");
    }
  }
  uint8_t colour[3];
  std::memcpy(colour, reference, 3);
  int minX = w, minY = h, maxX = -1, maxY = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (std::memcmp(composite.At(x, y), colour, 3) == 0) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  if (maxX < 0) return StepOutcome::NoOp;  // one colour throughout: Photoshop leaves it as it is
  const bool top = FlagOf(Find(d, "Top "), true, "Top"), bottom = FlagOf(Find(d, "Btom"), true, "Btom");
  const bool left = FlagOf(Find(d, "Left"), true, "Left"), right = FlagOf(Find(d, "Rght"), true, "Rght");
  const int x0 = left ? minX : 0, y0 = top ? minY : 0, x1 = right ? maxX + 1 : w, y1 = bottom ? maxY + 1 : h;
  if (x0 == 0 && y0 == 0 && x1 == w && y1 == h) return StepOutcome::NoOp;
  CutAll(document, x0, y0, x1 - x0, y1 - y0);
  return StepOutcome::Played;
}

}  // namespace zem::document::steps
