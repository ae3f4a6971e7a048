#include "document/layers/Document.h"

#include <algorithm>
#include <cstring>

namespace zem::document {
namespace {

using hostsim::Image;

// Rows composited together: enough to spread an adjustment's set-up over many pixels, few enough
// that a band buffer a nesting level stays small.
constexpr int kBandRows = 16;

const uint8_t* RowOf(const std::shared_ptr<const Mask>& mask, bool enabled, int width, int y) {
  return mask && enabled ? &(*mask)[size_t(y) * width] : nullptr;
}

// Composites `layers` onto `band`, which holds rows [top, top + band.height) of the document.
void CompositeBand(const std::vector<Layer>& layers, int width, int top, Image& band) {
  for (const Layer& layer : layers) {
    if (!layer.visible) continue;
    const float opacity = float(layer.opacity * layer.fill);
    switch (layer.kind) {
      case Layer::Kind::Pixels: {
        if (!layer.pixels) break;
        for (int r = 0; r < band.height; ++r) {
          const int y = top + r;
          BlendRow(layer.mode, band.At(0, r), layer.pixels->At(0, y), RowOf(layer.alpha, true, width, y),
                   RowOf(layer.mask, layer.maskEnabled, width, y), opacity, width);
        }
        break;
      }
      case Layer::Kind::Fill: {
        std::vector<uint8_t> row(size_t(width) * 3);
        for (int x = 0; x < width; ++x) std::memcpy(&row[size_t(x) * 3], layer.colour, 3);
        for (int r = 0; r < band.height; ++r) {
          BlendRow(layer.mode, band.At(0, r), row.data(), nullptr, RowOf(layer.mask, layer.maskEnabled, width, top + r),
                   opacity, width);
        }
        break;
      }
      case Layer::Kind::Adjustment: {
        if (layer.mode == BlendMode::Normal && opacity >= 1 && !(layer.mask && layer.maskEnabled)) {
          ApplyAdjustment(layer.adjustment, band);  // the adjusted pixels replace the backdrop's
          break;
        }
        Image adjusted = band;
        ApplyAdjustment(layer.adjustment, adjusted);
        for (int r = 0; r < band.height; ++r) {
          BlendRow(layer.mode, band.At(0, r), adjusted.At(0, r), nullptr,
                   RowOf(layer.mask, layer.maskEnabled, width, top + r), opacity, width);
        }
        break;
      }
      case Layer::Kind::Group: {
        const bool direct = layer.mode == BlendMode::PassThrough && opacity >= 1 && !(layer.mask && layer.maskEnabled);
        if (direct) {
          CompositeBand(layer.children, width, top, band);
          break;
        }
        // The group's result mixed with what lay beneath it by the group's own mode, opacity and mask.
        Image inside = band;
        CompositeBand(layer.children, width, top, inside);
        for (int r = 0; r < band.height; ++r) {
          BlendRow(layer.mode, band.At(0, r), inside.At(0, r), nullptr,
                   RowOf(layer.mask, layer.maskEnabled, width, top + r), opacity, width);
        }
        break;
      }
    }
  }
}

Layer* FindIn(std::vector<Layer>& layers, int id) {
  for (Layer& layer : layers) {
    if (layer.id == id) return &layer;
    if (Layer* found = FindIn(layer.children, id)) return found;
  }
  return nullptr;
}

Layer* FindNamedIn(std::vector<Layer>& layers, const std::string& name) {
  for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
    if (it->name == name) return &*it;
    if (Layer* found = FindNamedIn(it->children, name)) return found;
  }
  return nullptr;
}

void Flatten(const std::vector<Layer>& layers, std::vector<const Layer*>& out) {
  for (const Layer& layer : layers) {
    if (!layer.visible) continue;
    out.push_back(&layer);
    Flatten(layer.children, out);
  }
}

}  // namespace

Document::Document(Image background) : width_(background.width), height_(background.height) {
  Layer layer;
  layer.kind = Layer::Kind::Pixels;
  layer.name = "Background";
  layer.background = true;
  layer.pixels = std::make_shared<Image>(std::move(background));
  layer.id = nextId_++;
  current_ = layer.id;
  layers_.push_back(std::move(layer));
}

Layer* Document::FindById(int id) { return FindIn(layers_, id); }
Layer* Document::Current() { return FindById(current_); }
Layer* Document::FindByName(const std::string& name) { return FindNamedIn(layers_, name); }

Layer* Document::Background() {
  for (Layer& layer : layers_) {
    if (layer.background) return &layer;
  }
  return nullptr;
}

Document::Location Document::Locate(int id) {
  struct Search {
    static bool In(std::vector<Layer>& layers, int id, Location& where) {
      for (size_t i = 0; i < layers.size(); ++i) {
        if (layers[i].id == id) {
          where = {&layers, i};
          return true;
        }
        if (In(layers[i].children, id, where)) return true;
      }
      return false;
    }
  };
  Location where;
  Search::In(layers_, id, where);
  return where;
}

Layer& Document::InsertAboveCurrent(Layer layer) {
  const Location at = Locate(current_);
  layer.id = nextId_++;
  // A group's layers (a copy's, say) get ids of their own too.
  struct Renumber {
    static void In(std::vector<Layer>& layers, int& next) {
      for (Layer& child : layers) {
        child.id = next++;
        In(child.children, next);
      }
    }
  };
  Renumber::In(layer.children, nextId_);
  current_ = layer.id;
  // Above the current layer among its siblings; with no current layer, at the top of the stack.
  std::vector<Layer>& siblings = at.siblings != nullptr ? *at.siblings : layers_;
  const size_t index = at.siblings != nullptr ? at.index + 1 : layers_.size();
  return *siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index), std::move(layer));
}

bool Document::Remove(int id) {
  const Location at = Locate(id);
  if (at.siblings == nullptr) return false;
  std::vector<Layer>& siblings = *at.siblings;
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at.index));
  if (current_ == id) {
    if (!siblings.empty()) {
      current_ = siblings[at.index > 0 ? at.index - 1 : 0].id;
    } else {
      current_ = layers_.empty() ? 0 : layers_.back().id;
    }
  }
  return true;
}

bool Document::Move(int id, int steps) {
  const Location at = Locate(id);
  if (at.siblings == nullptr) return false;
  std::vector<Layer>& siblings = *at.siblings;
  // Nothing moves beneath the background.
  const long lowest = !siblings.empty() && siblings.front().background && siblings.front().id != id ? 1 : 0;
  const long target = std::clamp(long(at.index) + steps, lowest, long(siblings.size()) - 1);
  Layer moving = std::move(siblings[at.index]);
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at.index));
  siblings.insert(siblings.begin() + target, std::move(moving));
  return true;
}

std::vector<const Layer*> Document::Flat() const {
  std::vector<const Layer*> out;
  zem::document::Flatten(layers_, out);
  return out;
}

std::string Document::NextName(const std::string& kind) { return kind + " " + std::to_string(++nameCounters_[kind]); }

Image& Document::WritablePixels(Layer& layer) {
  if (!layer.pixels || layer.pixels.use_count() > 1) {
    layer.pixels = std::make_shared<Image>(layer.pixels ? *layer.pixels : Image());
  }
  return *layer.pixels;
}

Image Document::Composite(const hostsim::RowWorkers& workers) const {
  Image result(width_, height_, 255);
  workers.Split(0, height_, [&](int, int first, int last) {
    for (int top = first; top < last; top += kBandRows) {
      const int rows = std::min(kBandRows, last - top);
      Image band(width_, rows, 255);
      CompositeBand(layers_, width_, top, band);
      std::memcpy(result.At(0, top), band.rgb.data(), band.rgb.size());
    }
  });
  return result;
}

void Document::Flatten(const hostsim::RowWorkers& workers) {
  Layer layer;
  layer.name = "Background";
  layer.background = true;
  layer.pixels = std::make_shared<Image>(Composite(workers));
  layer.id = nextId_++;
  layers_.clear();
  current_ = layer.id;
  layers_.push_back(std::move(layer));
}

}  // namespace zem::document
