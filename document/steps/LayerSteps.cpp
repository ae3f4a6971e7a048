// The steps on layers: make, set, select, delete, hide, show, duplicate, layer via copy, move,
// flatten and merge.
#include <algorithm>
#include <cmath>

#include "actions/TextForm.h"
#include "document/layers/Planes.h"
#include "document/steps/AdjustmentReading.h"
#include "document/steps/Handlers.h"

namespace zem::document::steps {
namespace {

namespace type = zem::actions::type;
using zem::actions::ReferenceItem;

const ReferenceItem* FirstTarget(const Descriptor& d) {
  const Value* target = Find(d, "null");
  if (target == nullptr) return nullptr;
  if (target->type == type::kList) {
    const auto& values = ListOf(*target, "the targets").values;
    if (values.empty()) return nullptr;
    target = &values.front();
  }
  const auto& items = ReferenceOf(*target, "the target").items;
  return items.empty() ? nullptr : &items.front();
}

// A class named by its four-character code (four characters) or its string ID (any other length).
bool IsClass(const ReferenceItem* item, const std::string& text) {
  if (item == nullptr) return false;
  if (text.size() != 4) return item->classId.Is(text.c_str());
  const auto* c = reinterpret_cast<const unsigned char*>(text.data());
  return item->classId.Is((uint32_t(c[0]) << 24) | (uint32_t(c[1]) << 16) | (uint32_t(c[2]) << 8) | uint32_t(c[3]));
}

std::shared_ptr<const Mask> SelectionAsMask(const Document& document) {
  if (!document.selection().active) return nullptr;
  return std::make_shared<const Mask>(document.selection().coverage);
}

// The kind of mask 'Usng' asks for.
std::shared_ptr<const Mask> NewMask(Document& document, Layer& layer, const Value* using_) {
  const size_t size = size_t(document.width()) * document.height();
  if (using_ == nullptr) return SelectionAsMask(document);
  const Id& how = EnumOf(*using_, "the mask's content (Usng)").value;
  if (how.Is(MakeFourCC("RvlA"))) return nullptr;
  if (how.Is(MakeFourCC("HdAl"))) return std::make_shared<const Mask>(size, uint8_t(0));
  if (how.Is(MakeFourCC("RvlS"))) return SelectionAsMask(document);
  if (how.Is(MakeFourCC("HdSl"))) {
    if (!document.selection().active) return std::make_shared<const Mask>(size, uint8_t(0));
    Mask inverse = document.selection().coverage;
    for (uint8_t& v : inverse) v = uint8_t(255 - v);
    return std::make_shared<const Mask>(std::move(inverse));
  }
  if (how.Is(MakeFourCC("Trns"))) return layer.alpha;
  Refuse("a mask made by " + KeyText(how) + " is not modelled");
}

StepOutcome MakeMask(StepContext& step) {
  Layer* layer = step.document.Current();
  if (layer == nullptr || layer->background) Refuse("a layer mask needs a current layer other than the background");
  layer->mask = NewMask(step.document, *layer, Find(step.descriptor, "Usng"));
  layer->hasMask = true;
  layer->maskEnabled = true;
  return StepOutcome::Played;
}

StepOutcome MakeAdjustmentLayer(StepContext& step) {
  Layer layer;
  layer.kind = Layer::Kind::Adjustment;
  const Value* using_ = Find(step.descriptor, "Usng");
  if (using_ == nullptr) Refuse("the adjustment layer has no settings (Usng)");
  const Descriptor& settings = ObjectOf(*using_, "the adjustment layer's settings (Usng)");
  const Value* kind = Find(settings, "Type");
  if (kind == nullptr) Refuse("the adjustment layer names no adjustment (Type)");
  layer.adjustment = ReadLayerAdjustment(*kind);
  layer.name = step.document.NextName(AdjustmentName(layer.adjustment));
  // A new adjustment layer gets a mask: the selection, or one revealing everything.
  layer.hasMask = true;
  layer.mask = SelectionAsMask(step.document);
  ApplyLayerSettings(step.document, layer, settings);
  step.document.InsertAboveCurrent(std::move(layer));
  return StepOutcome::Played;
}

StepOutcome MakeFillLayer(StepContext& step) {
  const Value* using_ = Find(step.descriptor, "Usng");
  if (using_ == nullptr) Refuse("the fill layer has no settings (Usng)");
  const Descriptor& settings = ObjectOf(*using_, "the fill layer's settings (Usng)");
  const Value* kind = Find(settings, "Type");
  if (kind == nullptr) Refuse("the fill layer names no content (Type)");
  const Descriptor& content = ObjectOf(*kind, "the fill layer's content (Type)");
  if (!content.classId.Is("solidColorLayer")) Refuse("a fill layer of " + KeyText(content.classId) + " is not modelled (a solid colour is)");
  const Value* colour = Find(content, "Clr ");
  if (colour == nullptr) Refuse("the solid colour fill has no colour (Clr)");
  Layer layer;
  layer.kind = Layer::Kind::Fill;
  double rgb[3];
  ColourOf(*colour, rgb, "the fill colour");
  for (int c = 0; c < 3; ++c) layer.colour[c] = uint8_t(std::lround(rgb[c]));
  layer.name = step.document.NextName("Color Fill");
  layer.hasMask = true;
  layer.mask = SelectionAsMask(step.document);
  ApplyLayerSettings(step.document, layer, settings);
  step.document.InsertAboveCurrent(std::move(layer));
  return StepOutcome::Played;
}

StepOutcome MakePixelLayer(StepContext& step) {
  Layer layer;
  layer.kind = Layer::Kind::Pixels;
  layer.name = step.document.NextName("Layer");
  layer.pixels = std::make_shared<hostsim::Image>(step.document.width(), step.document.height(), 0);
  layer.alpha = std::make_shared<const Mask>(size_t(step.document.width()) * step.document.height(), uint8_t(0));
  if (const Value* using_ = Find(step.descriptor, "Usng")) {
    ApplyLayerSettings(step.document, layer, ObjectOf(*using_, "the new layer's settings (Usng)"));
  }
  step.document.InsertAboveCurrent(std::move(layer));
  return StepOutcome::Played;
}

StepOutcome MakeGroup(StepContext& step) {
  Layer group;
  group.kind = Layer::Kind::Group;
  group.mode = BlendMode::PassThrough;
  group.name = step.document.NextName("Group");
  if (const Value* using_ = Find(step.descriptor, "Usng")) {
    ApplyLayerSettings(step.document, group, ObjectOf(*using_, "the group's settings (Usng)"));
  }
  if (const Value* from = Find(step.descriptor, "From")) {
    // A group made from layers: here, the current one.
    Descriptor fromTarget;
    fromTarget.items.push_back({Id::Code(MakeFourCC("null")), *from});
    std::vector<Layer*> members = TargetLayers(step.document, fromTarget);
    if (members.size() != 1) Refuse("a group made from several layers is not modelled");
    if (members.front()->background) Refuse("the background cannot go into a group");
    Layer member = *members.front();
    step.document.SetCurrent(member.id);
    Layer& made = step.document.InsertAboveCurrent(std::move(group));
    made.children.push_back(std::move(member));
    const int groupId = made.id;
    step.document.Remove(made.children.front().id);  // the original, beside the group
    step.document.SetCurrent(groupId);
    return StepOutcome::Played;
  }
  step.document.InsertAboveCurrent(std::move(group));
  return StepOutcome::Played;
}

Layer Copy(Document& document, const Layer& source, const std::string& name) {
  Layer copy = source;  // pixels shared until either is changed
  copy.name = name;
  copy.background = false;
  (void)document;
  return copy;
}

}  // namespace

void ApplyLayerSettings(Document& document, Layer& layer, const Descriptor& settings) {
  (void)document;
  for (const zem::actions::Item& item : settings.items) {
    const Id& key = item.key;
    if (key.Is(MakeFourCC("Nm  "))) {
      layer.name = TextOf(item.value, "the layer's name (Nm)");
    } else if (key.Is(MakeFourCC("Opct"))) {
      layer.opacity = std::clamp(NumberOf(item.value, "the opacity (Opct)"), 0.0, 100.0) / 100;
    } else if (key.Is("fillOpacity")) {
      layer.fill = std::clamp(NumberOf(item.value, "the fill opacity"), 0.0, 100.0) / 100;
    } else if (key.Is(MakeFourCC("Md  "))) {
      const Id& mode = EnumOf(item.value, "the blend mode (Md)").value;
      if (!BlendModeFromId(mode.isFourCC, mode.code, mode.name, layer.mode)) Refuse("the blend mode " + KeyText(mode) + " is not known");
      if (layer.mode == BlendMode::PassThrough && layer.kind != Layer::Kind::Group) layer.mode = BlendMode::Normal;
    } else if (key.Is(MakeFourCC("Vsbl"))) {
      layer.visible = FlagOf(&item.value, true, "visibility (Vsbl)");
    } else if (key.Is(MakeFourCC("Grup"))) {
      if (FlagOf(&item.value, false, "clipping (Grup)")) Refuse("a clipping mask (Grup) is not modelled");
    } else if (key.Is(MakeFourCC("Type"))) {
      // The adjustment or content, read by the caller.
    } else if (key.Is(MakeFourCC("Clr ")) || key.Is("color") || key.Is("layerLocking") || key.Is(MakeFourCC("LyrI")) ||
               key.Is("protectAll") || key.Is("layerID") || key.Is(MakeFourCC("FlNt"))) {
      // The panel's colour label, locks and IDs, and the neutral fill of a new layer in a
      // lighting mode (neutral: it changes nothing): nothing the composite shows.
    } else {
      Refuse("the layer setting " + KeyText(key) + " is not modelled");
    }
  }
}

StepOutcome Make(StepContext& step) {
  const Descriptor& d = step.descriptor;
  if (const Value* made = Find(d, "Nw  ")) {
    if (made->type != type::kClass && made->type != type::kGlobalClass) {
      const Descriptor& object = ObjectOf(*made, "what is made (Nw)");
      if (object.classId.Is(MakeFourCC("Dcmn")) || object.classId.Is("document")) return NewDocument(step, object);
      Refuse("making a " + KeyText(object.classId) + " is not modelled");
    }
    const Id& what = std::get<zem::actions::ClassValue>(made->data).id;
    if (what.Is(MakeFourCC("Chnl"))) {
      const Value* at = Find(d, "At  ");
      if (at != nullptr) {
        const auto& items = ReferenceOf(*at, "where the channel goes (At)").items;
        if (!items.empty() && items[0].form == MakeFourCC("Enmr") && items[0].enumerated.value.Is(MakeFourCC("Msk "))) {
          return MakeMask(step);
        }
      }
      return StepOutcome::NoOp;  // an alpha channel: it does not show
    }
    Refuse("making a " + KeyText(what) + " is not modelled");
  }
  const ReferenceItem* target = FirstTarget(d);
  if (target == nullptr) Refuse("the step says nothing of what to make");
  if (IsClass(target, "AdjL") || IsClass(target, "adjustmentLayer")) return MakeAdjustmentLayer(step);
  if (IsClass(target, "contentLayer")) return MakeFillLayer(step);
  if (IsClass(target, "Lyr ") || IsClass(target, "layer")) return MakePixelLayer(step);
  if (IsClass(target, "layerSection")) return MakeGroup(step);
  if (IsClass(target, "SnpS") || IsClass(target, "snapshotClass")) {
    // Kept by name, to go back to; with no name there is nothing to select it by.
    if (const Value* name = Find(d, "Nm  ")) {
      Document copy = step.document;
      copy.snapshots.clear();
      step.document.snapshots[TextOf(*name, "the snapshot's name (Nm)")] = std::make_shared<const Document>(std::move(copy));
    }
    return StepOutcome::NoOp;
  }
  Refuse("making a " + KeyText(target->classId) + " is not modelled");
}

StepOutcome Set(StepContext& step) {
  const Descriptor& d = step.descriptor;
  const ReferenceItem* target = FirstTarget(d);
  const Value* to = Find(d, "T   ");
  if (target == nullptr || to == nullptr) Refuse("the step names no target (null) or no value (T)");
  if (IsClass(target, "Chnl") && target->form == MakeFourCC("prop") && target->property.Is(MakeFourCC("fsel"))) {
    return SetSelection(step, *to);
  }
  if (IsClass(target, "Lyr ") || IsClass(target, "layer") || IsClass(target, "layerSection")) {
    Layer& layer = TargetLayer(step.document, d);
    const Descriptor& settings = ObjectOf(*to, "the layer's new settings (T)");
    if (layer.background) {
      // A background given a name, opacity or mode becomes a normal layer, as in Photoshop.
      layer.background = false;
    }
    ApplyLayerSettings(step.document, layer, settings);
    return StepOutcome::Played;
  }
  if (IsClass(target, "AdjL") || IsClass(target, "adjustmentLayer") || IsClass(target, "contentLayer")) {
    Layer& layer = TargetLayer(step.document, d);
    if (layer.kind == Layer::Kind::Adjustment) {
      layer.adjustment = ReadLayerAdjustment(*to);
      return StepOutcome::Played;
    }
    if (layer.kind == Layer::Kind::Fill) {
      const Descriptor& content = ObjectOf(*to, "the fill's content (T)");
      if (const Value* colour = Find(content, "Clr ")) {
        double rgb[3];
        ColourOf(*colour, rgb, "the fill colour");
        for (int c = 0; c < 3; ++c) layer.colour[c] = uint8_t(std::lround(rgb[c]));
      }
      return StepOutcome::Played;
    }
    Refuse("the target layer is not an adjustment or fill layer");
  }
  if (IsClass(target, "Clr ") && target->form == MakeFourCC("prop")) {
    uint8_t* colour = target->property.Is(MakeFourCC("FrgC"))   ? step.document.foreground
                      : target->property.Is(MakeFourCC("BckC")) ? step.document.backgroundColour
                                                                : nullptr;
    if (colour == nullptr) Refuse("the colour " + KeyText(target->property) + " is not modelled");
    double rgb[3];
    ColourOf(*to, rgb, "the colour");
    for (int c = 0; c < 3; ++c) colour[c] = uint8_t(std::lround(rgb[c]));
    return StepOutcome::Played;
  }
  if (IsClass(target, "Prpr") || IsClass(target, "HstS")) return StepOutcome::NoOp;
  Refuse("setting a " + KeyText(target->classId) + " is not modelled");
}

StepOutcome Select(StepContext& step) {
  const ReferenceItem* target = FirstTarget(step.descriptor);
  if (target == nullptr) Refuse("the step names nothing to select");
  if (IsClass(target, "Lyr ") || IsClass(target, "layer") || IsClass(target, "AdjL") || IsClass(target, "layerSection")) {
    std::vector<Layer*> layers = TargetLayers(step.document, step.descriptor);
    step.document.SetCurrent(layers.back()->id);
    return StepOutcome::Played;
  }
  if (IsClass(target, "Chnl")) {
    if (target->form == MakeFourCC("Enmr")) {
      const Id& which = target->enumerated.value;
      if (which.Is(MakeFourCC("RGB ")) || which.Is(MakeFourCC("Cmps")) || which.Is(MakeFourCC("Trgt")) ||
          which.Is(MakeFourCC("Msk "))) {
        return StepOutcome::NoOp;
      }
    }
    Refuse("working on a single channel is not modelled");
  }
  if (IsClass(target, "SnpS") && target->form == MakeFourCC("name")) {
    const auto found = step.document.snapshots.find(zem::actions::ToUtf8(target->name.units));
    if (found == step.document.snapshots.end()) Refuse("there is no snapshot " + zem::actions::QuotedUnicode(target->name.units));
    auto snapshots = std::move(step.document.snapshots);
    step.document = *found->second;
    step.document.snapshots = std::move(snapshots);
    return StepOutcome::Played;
  }
  if (IsClass(target, "SnpS") || IsClass(target, "HstS")) Refuse("going back to a history state is not modelled (to a named snapshot is)");
  if (IsClass(target, "Mn  ") && target->form == MakeFourCC("Enmr")) {
    // The View menu's zoom commands change how the document is shown, not the document.
    for (const char* view : {"FtOn", "ActP", "ZmIn", "ZmOt", "PrnS"}) {
      if (IsClass(target, "Mn  ") && target->enumerated.value == Id::Code((uint32_t(uint8_t(view[0])) << 24) |
                                                                           (uint32_t(uint8_t(view[1])) << 16) |
                                                                           (uint32_t(uint8_t(view[2])) << 8) |
                                                                           uint32_t(uint8_t(view[3])))) {
        return StepOutcome::NoOp;
      }
    }
    Refuse("the menu item " + KeyText(target->enumerated.value) + " is not modelled (the zoom commands are no-ops)");
  }
  Refuse("selecting a " + KeyText(target->classId) + " is not modelled");
}

StepOutcome Delete(StepContext& step) {
  Document& document = step.document;
  const ReferenceItem* target = step.hasDescriptor ? FirstTarget(step.descriptor) : nullptr;
  if (target == nullptr) {
    // Clear: the selected pixels become transparent, or the background colour on the background.
    Layer& layer = CurrentPixelLayer(document, "Clear");
    if (!document.selection().active) Refuse("clearing needs a selection");
    const Mask& coverage = document.selection().coverage;
    if (layer.background) {
      const uint8_t* colour = document.backgroundColour;
      ChangePixelsWithinSelection(document, layer, [&](hostsim::Image& image) {
        for (size_t i = 0; i < coverage.size(); ++i) std::copy(colour, colour + 3, &image.rgb[i * 3]);
      });
      return StepOutcome::Played;
    }
    Mask alpha = layer.alpha ? *layer.alpha : Mask(coverage.size(), 255);
    for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = uint8_t(alpha[i] * (255 - coverage[i]) / 255);
    layer.alpha = std::make_shared<const Mask>(std::move(alpha));
    return StepOutcome::Played;
  }
  if (IsClass(target, "Chnl")) {
    const bool mask = target->form == MakeFourCC("Enmr") &&
                      (target->enumerated.value.Is(MakeFourCC("Msk ")) || target->enumerated.value.Is(MakeFourCC("Trgt")));
    Layer* layer = document.Current();
    if (!mask || layer == nullptr || !layer->hasMask) Refuse("deleting a colour or alpha channel is not modelled");
    if (FlagOf(Find(step.descriptor, "Aply"), false, "apply (Aply)") && layer->kind == Layer::Kind::Pixels && layer->mask) {
      Mask alpha = layer->alpha ? *layer->alpha : Mask(layer->mask->size(), 255);
      for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = uint8_t(alpha[i] * (*layer->mask)[i] / 255);
      layer->alpha = std::make_shared<const Mask>(std::move(alpha));
    }
    layer->hasMask = false;
    layer->mask = nullptr;
    return StepOutcome::Played;
  }
  if (IsClass(target, "Lyr ") || IsClass(target, "layer") || IsClass(target, "AdjL") || IsClass(target, "layerSection")) {
    std::vector<int> ids;
    for (Layer* layer : TargetLayers(document, step.descriptor)) ids.push_back(layer->id);
    for (int id : ids) document.Remove(id);
    if (document.layers().empty()) Refuse("a document keeps at least one layer");
    return StepOutcome::Played;
  }
  if (IsClass(target, "SnpS") || IsClass(target, "HstS")) return StepOutcome::NoOp;
  Refuse("deleting a " + KeyText(target->classId) + " is not modelled");
}

namespace {

StepOutcome SetVisible(StepContext& step, bool visible) {
  const ReferenceItem* target = FirstTarget(step.descriptor);
  if (target == nullptr || !(IsClass(target, "Lyr ") || IsClass(target, "layer") || IsClass(target, "AdjL") ||
                             IsClass(target, "layerSection"))) {
    Refuse("only layers are hidden and shown here");
  }
  for (Layer* layer : TargetLayers(step.document, step.descriptor)) layer->visible = visible;
  return StepOutcome::Played;
}

}  // namespace

StepOutcome Hide(StepContext& step) { return SetVisible(step, false); }
StepOutcome Show(StepContext& step) { return SetVisible(step, true); }

StepOutcome Duplicate(StepContext& step) {
  const ReferenceItem* target = FirstTarget(step.descriptor);
  if (target != nullptr && !(IsClass(target, "Lyr ") || IsClass(target, "layer") || IsClass(target, "AdjL") ||
                             IsClass(target, "layerSection"))) {
    Refuse("duplicating a " + KeyText(target->classId) + " is not modelled");
  }
  Layer& source = TargetLayer(step.document, step.descriptor);
  std::string name = source.name + " copy";
  if (const Value* named = Find(step.descriptor, "Nm  ")) name = TextOf(*named, "the copy's name (Nm)");
  Layer copy = Copy(step.document, source, name);
  step.document.SetCurrent(source.id);
  step.document.InsertAboveCurrent(std::move(copy));
  return StepOutcome::Played;
}

StepOutcome CopyToLayer(StepContext& step) {
  Document& document = step.document;
  Layer& source = CurrentPixelLayer(document, "Layer via Copy");
  Layer copy = Copy(document, source, document.NextName("Layer"));
  copy.opacity = 1, copy.fill = 1, copy.mode = BlendMode::Normal, copy.visible = true;
  copy.hasMask = false, copy.mask = nullptr;
  if (document.selection().active) {
    Mask alpha = document.selection().coverage;
    if (source.alpha) {
      for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = uint8_t(alpha[i] * (*source.alpha)[i] / 255);
    }
    copy.alpha = std::make_shared<const Mask>(std::move(alpha));
  }
  document.InsertAboveCurrent(std::move(copy));
  return StepOutcome::Played;
}

namespace {

// The move tool: a pixel layer shifted by whole pixels, what leaves the canvas cut off and what
// comes in transparent; an adjustment or fill layer without a mask shows the same wherever it is.
StepOutcome Offset(StepContext& step, Layer& layer, const Descriptor& offset) {
  if (!offset.classId.Is(MakeFourCC("Ofst"))) Refuse("a move to a " + KeyText(offset.classId) + " is not modelled");
  if (FlagOf(Find(step.descriptor, "Cpy "), false, "copy (Cpy)")) Refuse("moving a copy of the pixels is not modelled");
  Document& document = step.document;
  const Value* across = Find(offset, "Hrzn");
  const Value* down = Find(offset, "Vrtc");
  const double dx = across ? PixelsOf(*across, document.width(), "the offset across (Hrzn)") : 0;
  const double dy = down ? PixelsOf(*down, document.height(), "the offset down (Vrtc)") : 0;
  const int x = int(std::lround(std::clamp(dx, -1e6, 1e6))), y = int(std::lround(std::clamp(dy, -1e6, 1e6)));
  if (x == 0 && y == 0) return StepOutcome::NoOp;
  if (document.selection().active) Refuse("moving the selected pixels is not modelled (moving a whole layer is)");
  if (layer.kind != Layer::Kind::Pixels) {
    if (!layer.mask) return StepOutcome::NoOp;
    Refuse("moving a layer's mask is not modelled");
  }
  if (layer.background) Refuse("the background cannot be moved");
  const int w = document.width(), h = document.height();
  const uint8_t none[3] = {0, 0, 0}, reveal = 255;
  Plane pixels = Cut(Plane{w, h, 3, layer.pixels->rgb}, -x, -y, w, h, none);
  auto image = std::make_shared<hostsim::Image>();
  image->width = w, image->height = h, image->rgb = std::move(pixels.bytes);
  layer.pixels = std::move(image);
  const Mask opaque = layer.alpha ? *layer.alpha : Mask(size_t(w) * h, 255);
  layer.alpha = std::make_shared<const Mask>(Cut(Plane{w, h, 1, opaque}, -x, -y, w, h, none).bytes);
  if (layer.mask) layer.mask = std::make_shared<const Mask>(Cut(Plane{w, h, 1, *layer.mask}, -x, -y, w, h, &reveal).bytes);
  return StepOutcome::Played;
}

}  // namespace

StepOutcome Move(StepContext& step) {
  Layer& layer = TargetLayer(step.document, step.descriptor);
  const Value* to = Find(step.descriptor, "T   ");
  if (to == nullptr) Refuse("the move has no destination (T)");
  if (to->type != type::kReference) return Offset(step, layer, ObjectOf(*to, "the move's offset (T)"));
  const auto& items = ReferenceOf(*to, "the destination (T)").items;
  if (items.empty()) Refuse("the destination is empty");
  const ReferenceItem& where = items.front();
  if (where.form == MakeFourCC("Enmr")) {
    const Id& which = where.enumerated.value;
    int steps = 0;
    if (which.Is(MakeFourCC("Nxt ")) || which.Is(MakeFourCC("Frwr"))) steps = 1;
    else if (which.Is(MakeFourCC("Prvs")) || which.Is(MakeFourCC("Bckw"))) steps = -1;
    else if (which.Is(MakeFourCC("Frnt"))) steps = 1 << 20;
    else if (which.Is(MakeFourCC("Back"))) steps = -(1 << 20);
    else Refuse("moving a layer to " + KeyText(which) + " is not modelled");
    step.document.Move(layer.id, steps);
    return StepOutcome::Played;
  }
  if (where.form == MakeFourCC("indx")) {
    // The index among the top-level layers, counted from the bottom as scripts count.
    const auto& layers = step.document.layers();
    auto at = std::find_if(layers.begin(), layers.end(), [&](const Layer& l) { return l.id == layer.id; });
    if (at == layers.end()) Refuse("moving a layer out of its group is not modelled");
    const int64_t base = !layers.empty() && layers.front().background ? 0 : 1;
    const int64_t target = std::clamp<int64_t>(where.number - base, 0, int64_t(layers.size()) - 1);
    step.document.Move(layer.id, int(target - (at - layers.begin())));
    return StepOutcome::Played;
  }
  Refuse("moving a layer to a place given by " + zem::actions::QuotedCode(where.form) + " is not modelled");
}

StepOutcome Flatten(StepContext& step) {
  step.document.Flatten(step.workers);
  return StepOutcome::Played;
}

StepOutcome MergeVisible(StepContext& step) {
  // Hidden layers are dropped as well: what shows is the same.
  step.document.Flatten(step.workers);
  return StepOutcome::Played;
}

StepOutcome StampVisible(StepContext& step) {
  Layer layer;
  layer.kind = Layer::Kind::Pixels;
  layer.name = step.document.NextName("Layer");
  layer.pixels = std::make_shared<hostsim::Image>(step.document.Composite(step.workers));
  step.document.InsertAboveCurrent(std::move(layer));
  return StepOutcome::Played;
}

StepOutcome MergeDown(StepContext& step) {
  Document& document = step.document;
  Layer* top = document.Current();
  if (top == nullptr) Refuse("there is no current layer");
  const std::vector<const Layer*> flat = document.Flat();
  const auto& siblings = document.layers();
  auto at = std::find_if(siblings.begin(), siblings.end(), [&](const Layer& l) { return l.id == top->id; });
  if (at == siblings.end() || at == siblings.begin()) Refuse("merging down needs a layer beneath, outside any group");
  const Layer& below = *(at - 1);
  if (below.kind != Layer::Kind::Pixels || below.alpha || !below.pixels) {
    Refuse("merging down is modelled onto an opaque pixel layer only");
  }
  Document pair(*below.pixels);
  Layer merged = *top;
  pair.layers().push_back(merged);
  hostsim::Image result = pair.Composite(step.workers);
  const int belowId = below.id;
  document.Remove(top->id);
  Layer* target = document.FindById(belowId);
  target->pixels = std::make_shared<hostsim::Image>(std::move(result));
  document.SetCurrent(belowId);
  return StepOutcome::Played;
}

}  // namespace zem::document::steps
