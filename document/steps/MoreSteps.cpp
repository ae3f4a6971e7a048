// Copy and paste within the document, a new document, the magic wand's selection by colour, and
// a selection contracted or expanded.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/steps/Handlers.h"

namespace zem::document::steps {

StepOutcome CopyPixels(StepContext& step) {
  Document& document = step.document;
  Layer& layer = CurrentPixelLayer(document, "Copy");
  document.clipboard = layer.pixels;  // shared: the layer copies its pixels before it next changes them
  Mask alpha = document.selection().active ? document.selection().coverage
                                           : Mask(size_t(document.width()) * document.height(), 255);
  if (layer.alpha) {
    for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = uint8_t(alpha[i] * (*layer.alpha)[i] / 255);
  }
  document.clipboardAlpha = std::make_shared<const Mask>(std::move(alpha));
  return StepOutcome::NoOp;
}

StepOutcome CopyMerged(StepContext& step) {
  Document& document = step.document;
  document.clipboard = std::make_shared<hostsim::Image>(document.Composite(step.workers));
  document.clipboardAlpha = document.selection().active ? std::make_shared<const Mask>(document.selection().coverage)
                                                        : nullptr;
  return StepOutcome::NoOp;
}

StepOutcome Paste(StepContext& step) {
  Document& document = step.document;
  if (!document.clipboard) Refuse("the clipboard holds nothing copied in this action");
  if (document.clipboard->width != document.width() || document.clipboard->height != document.height()) {
    Refuse("pasting into a document of another size is not modelled");
  }
  Layer layer;
  layer.kind = Layer::Kind::Pixels;
  layer.name = document.NextName("Layer");
  layer.pixels = document.clipboard;
  layer.alpha = document.clipboardAlpha;
  document.InsertAboveCurrent(std::move(layer));
  return StepOutcome::Played;
}

StepOutcome NewDocument(StepContext& step, const Descriptor& settings) {
  if (const Value* mode = Find(settings, "Md  ")) {
    if (mode->type != zem::actions::type::kClass ||
        !std::get<zem::actions::ClassValue>(mode->data).id.Is(MakeFourCC("RGBM"))) {
      Refuse("a new document of a mode other than RGB is not modelled");
    }
  }
  const double resolution = NumberIn(Find(settings, "Rslt"), 1, 30000, 72, "the resolution (Rslt)");
  auto side = [&](const char (&key)[5]) {
    const Value* value = Find(settings, key);
    if (value == nullptr) Refuse(std::string("the new document has no '") + key + "'");
    uint32_t unit = 0;
    const double number = NumberOf(*value, "the new document's size", &unit);
    // Distances are in points: a pixel is 72 / resolution points.
    return std::round(unit == MakeFourCC("#Rlt") ? number * resolution / 72 : number);
  };
  const double width = side("Wdth"), height = side("Hght");
  CheckSize(step.document, width, height, "New document");
  uint8_t fill = 255;
  bool transparent = false;
  if (const Value* content = Find(settings, "Fl  ")) {
    const Id& which = EnumOf(*content, "the new document's content (Fl)").value;
    if (which.Is(MakeFourCC("BckC"))) fill = step.document.backgroundColour[0];
    else if (which.Is(MakeFourCC("Trns"))) transparent = true;
    else if (!which.Is(MakeFourCC("Wht "))) Refuse("a new document filled with " + KeyText(which) + " is not modelled");
  }
  Document made(hostsim::Image(int(width), int(height), fill));
  made.pixelLimit = step.document.pixelLimit;
  made.clipboard = step.document.clipboard;
  made.clipboardAlpha = step.document.clipboardAlpha;
  std::memcpy(made.foreground, step.document.foreground, 3);
  std::memcpy(made.backgroundColour, step.document.backgroundColour, 3);
  if (!transparent && fill != 255) {
    hostsim::Image& pixels = Document::WritablePixels(*made.Background());
    for (size_t i = 0; i < pixels.rgb.size(); i += 3) std::memcpy(&pixels.rgb[i], step.document.backgroundColour, 3);
  }
  if (transparent) {
    Layer* bottom = made.Background();
    bottom->background = false;
    bottom->name = made.NextName("Layer");
    bottom->alpha = std::make_shared<const Mask>(size_t(width) * size_t(height), uint8_t(0));
  }
  step.document = std::move(made);
  return StepOutcome::Played;
}

namespace {

// Each pixel of the mask replaced by the lowest (`shrink`) or highest value within `radius`
// pixels across and down: a square neighbourhood, in two passes. With `outsideEmpty` the pixels
// beyond the canvas count as unselected, so that a selection shrinks from the canvas's edges too.
void MinMax(Mask& mask, int width, int height, int radius, bool shrink, bool outsideEmpty) {
  // Each line through a sliding window whose best value is the front of a queue of candidates,
  // so that a line costs the same whatever the radius.
  std::vector<uint8_t> line;
  std::vector<int> queue;
  auto better = [shrink](uint8_t a, uint8_t b) { return shrink ? a <= b : a >= b; };
  auto pass = [&](uint8_t* start, int count, std::ptrdiff_t stride) {
    line.assign(size_t(count), 0);
    queue.assign(size_t(count), 0);
    size_t head = 0, tail = 0;
    int next = 0;  // the next pixel to enter the window
    for (int i = 0; i < count; ++i) {
      for (; next <= std::min(count - 1, i + radius); ++next) {
        while (tail > head && better(start[next * stride], start[queue[tail - 1] * stride])) --tail;
        queue[tail++] = next;
      }
      while (queue[head] < i - radius) ++head;
      const bool reachesOut = i - radius < 0 || i + radius > count - 1;
      line[size_t(i)] = outsideEmpty && reachesOut ? 0 : start[queue[head] * stride];
    }
    for (int i = 0; i < count; ++i) start[i * stride] = line[size_t(i)];
  };
  for (int y = 0; y < height; ++y) pass(&mask[size_t(y) * width], width, 1);
  for (int x = 0; x < width; ++x) pass(&mask[size_t(x)], height, width);
}

StepOutcome Modify(StepContext& step, bool shrink) {
  const Value* by = Find(step.descriptor, "By  ");
  if (by == nullptr) Refuse("the step has no amount (By)");
  const double pixels = PixelsOf(*by, step.document.width(), "the amount (By)");
  if (!(pixels >= 1 && pixels <= 500)) Refuse("an amount of " + std::to_string(pixels) + " pixels is outside 1..500");
  SelectionMask& selection = step.document.selection();
  if (!selection.active) return StepOutcome::NoOp;
  // Photoshop contracts from the canvas's edges too unless the step says otherwise.
  const bool fromEdges = shrink && !FlagOf(FindNamed(step.descriptor, "selectionModifyEffectAtCanvasBounds"), false,
                                           "selectionModifyEffectAtCanvasBounds");
  MinMax(selection.coverage, step.document.width(), step.document.height(), int(std::lround(pixels)), shrink, fromEdges);
  return StepOutcome::Played;
}

}  // namespace

StepOutcome Contract(StepContext& step) { return Modify(step, true); }
StepOutcome Expand(StepContext& step) { return Modify(step, false); }

void PointOf(const Value& value, const Document& document, int& x, int& y) {
  const Descriptor& point = ObjectOf(value, "the point");
  const Value* across = Find(point, "Hrzn");
  const Value* down = Find(point, "Vrtc");
  if (across == nullptr || down == nullptr) Refuse("the point lacks 'Hrzn' or 'Vrtc'");
  x = int(std::floor(std::clamp(PixelsOf(*across, document.width(), "the point's 'Hrzn'"), 0.0, document.width() - 1.0)));
  y = int(std::floor(std::clamp(PixelsOf(*down, document.height(), "the point's 'Vrtc'"), 0.0, document.height() - 1.0)));
}

Mask SimilarColour(const Document& document, int x, int y, int tolerance, bool contiguous,
                   const hostsim::RowWorkers& workers) {
  const hostsim::Image composite = document.Composite(workers);
  const int w = composite.width, h = composite.height;
  uint8_t seed[3];
  std::memcpy(seed, composite.At(x, y), 3);
  auto near = [&](int px, int py) {
    const uint8_t* p = composite.At(px, py);
    return std::abs(p[0] - seed[0]) <= tolerance && std::abs(p[1] - seed[1]) <= tolerance &&
           std::abs(p[2] - seed[2]) <= tolerance;
  };
  Mask mask(size_t(w) * h, 0);
  if (!contiguous) {
    for (int py = 0; py < h; ++py) {
      for (int px = 0; px < w; ++px) mask[size_t(py) * w + px] = near(px, py) ? 255 : 0;
    }
    return mask;
  }
  // A flood fill over the four neighbours, with an explicit stack of pixels.
  std::vector<int> stack{y * w + x};
  mask[size_t(y) * w + x] = 255;
  while (!stack.empty()) {
    const int at = stack.back();
    stack.pop_back();
    const int px = at % w, py = at / w;
    const int neighbours[4][2] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
    for (const auto& n : neighbours) {
      if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
      uint8_t& m = mask[size_t(n[1]) * w + n[0]];
      if (m != 0 || !near(n[0], n[1])) continue;
      m = 255;
      stack.push_back(n[1] * w + n[0]);
    }
  }
  return mask;
}

}  // namespace zem::document::steps
