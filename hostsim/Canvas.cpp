#include "Canvas.h"

#include <algorithm>

#include "../host/Keys.h"
#include "../host/ResultCodes.h"
#include "Host.h"
#include "Stopwatch.h"

namespace hostsim {
namespace {

bool IsSelectionReference(const Value* target) {
  if (target == nullptr || target->kind != Value::Kind::Reference) return false;
  const auto& elements = target->reference->elements;
  return elements.size() == 1 && elements[0].form == ReferenceElement::Form::Property &&
         elements[0].desiredClass == host::kClassChannel && elements[0].property == host::kKeySelection;
}

bool Pixels(const Descriptor& descriptor, uint32_t key, double& value) {
  const Value* found = descriptor.Find(key);
  if (found == nullptr || found->kind != Value::Kind::UnitFloat || found->type != host::kUnitPixels) return false;
  value = found->number;
  return true;
}

bool Points(const Descriptor& polygon, std::vector<Point>& points) {
  const Value* list = polygon.Find(host::kKeyPoints);
  if (list == nullptr || list->kind != Value::Kind::List) return false;
  for (const Value& item : list->list->items) {
    Point point{};
    if (item.kind != Value::Kind::Object || item.type != host::kClassPoint) return false;
    if (!Pixels(*item.object, host::kKeyHorizontal, point.x) || !Pixels(*item.object, host::kKeyVertical, point.y)) {
      return false;
    }
    points.push_back(point);
  }
  return true;
}

}  // namespace

Canvas::Canvas(Image image, PlayableSet actions, int tileSide)
    : image_(std::move(image)), actions_(std::move(actions)), tileSide_(tileSide) {
  selection_.Resize(image_.width, image_.height);
  Stopwatch stopwatch(times_.thumbnails);
  tiles_.push_back({"original", "", Thumbnail(image_, tileSide_)});
}

int32_t Canvas::Select(uint32_t event, const Descriptor& parameters) {
  const Value* shape = parameters.Find(host::kKeyTo);
  if (!IsSelectionReference(parameters.Find(host::kKeyNull)) || shape == nullptr) return host::kParamErr;
  Stopwatch stopwatch(times_.selecting);

  if (event == host::kEventSet && shape->kind == Value::Kind::Enumerated && shape->type == host::kTypeOrdinal &&
      shape->enumValue == host::kEnumNone) {
    selection_.Clear();
    return 0;
  }
  if (shape->kind != Value::Kind::Object) return host::kParamErr;
  const Descriptor& form = *shape->object;
  if (shape->type == host::kClassRectangle) {
    double top, left, bottom, right;
    if (!Pixels(form, host::kKeyTop, top) || !Pixels(form, host::kKeyLeft, left) ||
        !Pixels(form, host::kKeyBottom, bottom) || !Pixels(form, host::kKeyRight, right)) {
      return host::kParamErr;
    }
    if (event == host::kEventSet) {
      selection_.SetRectangle(top, left, bottom, right);
    } else {
      selection_.AddRectangle(top, left, bottom, right);
    }
    return 0;
  }
  std::vector<Point> points;
  if (event == host::kEventSet && shape->type == host::kClassPolygon && Points(form, points)) {
    const Value* antiAlias = parameters.Find(host::kKeyAntiAlias);
    selection_.SetPolygon(points, antiAlias != nullptr && antiAlias->kind == Value::Kind::Boolean && antiAlias->flag);
    return 0;
  }
  return host::kParamErr;
}

int32_t Canvas::PlayAction(const std::string& name) {
  const PlayableAction* action = actions_.Find(name);
  if (action == nullptr) return kErrNoSuchAction;
  {
    Stopwatch stopwatch(times_.adjusting);
    for (const AdjustmentEvent& event : action->events) Apply(event, selection_, image_);
  }
  Stopwatch stopwatch(times_.thumbnails);
  tiles_.push_back({name, action->label, Thumbnail(image_, tileSide_)});
  return 0;
}

Image Thumbnail(const Image& image, int side) {
  if (image.width <= 0 || image.height <= 0 || side <= 0) return Image();
  int width = side, height = side;
  if (image.width >= image.height) {
    height = std::max(1, static_cast<int>(int64_t(image.height) * side / image.width));
  } else {
    width = std::max(1, static_cast<int>(int64_t(image.width) * side / image.height));
  }
  Image small(width, height);
  for (int y = 0; y < height; ++y) {
    const int y0 = static_cast<int>(int64_t(y) * image.height / height);
    const int y1 = std::max(y0 + 1, static_cast<int>(int64_t(y + 1) * image.height / height));
    for (int x = 0; x < width; ++x) {
      const int x0 = static_cast<int>(int64_t(x) * image.width / width);
      const int x1 = std::max(x0 + 1, static_cast<int>(int64_t(x + 1) * image.width / width));
      uint64_t sum[3] = {};
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          for (int c = 0; c < 3; ++c) sum[c] += image.At(sx, sy)[c];
        }
      }
      const uint64_t count = uint64_t(x1 - x0) * (y1 - y0);
      for (int c = 0; c < 3; ++c) small.At(x, y)[c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
    }
  }
  return small;
}

}  // namespace hostsim
