// The layered document that recorded actions play on: a stack of pixel, fill and adjustment layers
// and groups over a background, a current layer, a selection, and the composite of it all.
//
// Memory: an adjustment layer or a fill layer holds no pixels (it is applied while compositing),
// pixel layers share their pixels with the layer they were duplicated from until one of them is
// changed, and the composite is made band by band (a few rows at a time, one band buffer a nesting
// level), so that a stack of any number of adjustment layers costs no more than the image itself.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/RowWorkers.h"
#include "document/adjust/Adjustments.h"
#include "document/blend/BlendModes.h"
#include "imaging/Image.h"

namespace zem::document {

// One byte a pixel of the document: 255 selected or revealed, 0 not, between them partly.
using Mask = std::vector<uint8_t>;

struct Layer {
  enum class Kind { Pixels, Adjustment, Fill, Group };
  Kind kind = Kind::Pixels;
  int id = 0;
  std::string name;
  bool visible = true;
  bool background = false;  // the document's opaque bottom layer
  double opacity = 1;       // 0..1
  double fill = 1;          // 0..1, the fill opacity
  BlendMode mode = BlendMode::Normal;
  bool hasMask = false;               // a layer mask, revealing all while `mask` is null
  std::shared_ptr<const Mask> mask;  // the layer mask's values, or null
  bool maskEnabled = true;
  std::shared_ptr<hostsim::Image> pixels;  // Pixels
  std::shared_ptr<const Mask> alpha;             // Pixels: their transparency, null when opaque
  Adjustment adjustment;                         // Adjustment
  uint8_t colour[3] = {0, 0, 0};                 // Fill: a solid colour
  std::vector<Layer> children;                   // Group: its layers, bottom first
};

// The selection: none (everything is affected), or a mask.
struct SelectionMask {
  bool active = false;
  Mask coverage;  // width * height while active
};

class Document {
 public:
  // A document of one opaque layer, "Background".
  explicit Document(hostsim::Image background);

  int width() const { return width_; }
  int height() const { return height_; }

  std::vector<Layer>& layers() { return layers_; }
  const std::vector<Layer>& layers() const { return layers_; }
  SelectionMask& selection() { return selection_; }
  const SelectionMask& selection() const { return selection_; }

  // The current (target) layer, or null when there is none.
  Layer* Current();
  int currentId() const { return current_; }
  void SetCurrent(int id) { current_ = id; }

  Layer* FindById(int id);
  // The topmost layer of that name, or null.
  Layer* FindByName(const std::string& name);
  Layer* Background();

  // Puts `layer` above the current layer, among its siblings, gives it an id and makes it current.
  Layer& InsertAboveCurrent(Layer layer);
  // Removes the layer (and a group's layers); the one beneath it, or else above it, becomes current.
  bool Remove(int id);
  // Moves the layer among its siblings by `steps` (up positive), or to the top or bottom.
  bool Move(int id, int steps);
  // All visible layers (bottom first, groups included) as they stand, in order.
  std::vector<const Layer*> Flat() const;

  // "Layer 1", "Curves 2": the next name of a kind, numbered per document as new layers are.
  std::string NextName(const std::string& kind);

  // The pixels of a pixel layer, copied first if another layer shares them.
  static hostsim::Image& WritablePixels(Layer& layer);

  // Replaces every layer's pixels, alpha and mask, and the selection, by what `transform` makes of
  // them (a resize, a cut, a turn), and the document's size by theirs. `transform(plane, fill)`:
  // fill is the value for pixels that come from outside the document.
  template <typename Transform>
  void TransformAll(Transform transform);

  // The document as it shows: every visible layer blended onto white, bottom up.
  hostsim::Image Composite(const hostsim::RowWorkers& workers = hostsim::SerialRows()) const;

  // Merges every visible layer into one opaque "Background" layer, as Flatten Image does.
  void Flatten(const hostsim::RowWorkers& workers = hostsim::SerialRows());

  // The most pixels a step may make the document: the host's limit, or less where a caller (the
  // fuzz target) wants every step cheap.
  int64_t pixelLimit = hostsim::kMaxImagePixels;

  // The snapshots made by name: the document as it was, sharing its pixels.
  std::map<std::string, std::shared_ptr<const Document>> snapshots;

  // What copy put on the clipboard: pixels the document's size, with their transparency.
  std::shared_ptr<hostsim::Image> clipboard;
  std::shared_ptr<const Mask> clipboardAlpha;

  uint8_t foreground[3] = {0, 0, 0};
  uint8_t backgroundColour[3] = {255, 255, 255};

 private:
  struct Location {
    std::vector<Layer>* siblings = nullptr;
    size_t index = 0;
  };
  Location Locate(int id);
  void SetSize(int width, int height) { width_ = width, height_ = height; }
  template <typename Visit>
  static void ForEachLayer(std::vector<Layer>& layers, Visit visit);

  int width_;
  int height_;
  std::vector<Layer> layers_;  // bottom first
  SelectionMask selection_;
  int current_ = 0;
  int nextId_ = 1;
  std::map<std::string, int> nameCounters_;
};

}  // namespace zem::document

#include "document/layers/DocumentTransform.h"
