#include "document/Canvas.h"

#include <algorithm>

#include "document/Stopwatch.h"
#include "host/Keys.h"
#include "host/ResultCodes.h"

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

Canvas::Canvas(Image image, PlayableSet actions, int tileSide, const RowWorkers& workers)
    : image_(std::move(image)), actions_(std::move(actions)), tileSide_(tileSide), workers_(&workers) {
  selection_.Resize(image_.width, image_.height);
  Stopwatch stopwatch(times_.thumbnails);
  tiles_.push_back({"original", "", Thumbnail(image_, tileSide_, *workers_)});
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
    const bool smooth = antiAlias != nullptr && antiAlias->kind == Value::Kind::Boolean && antiAlias->flag;
    selection_.SetPolygon(points, smooth, *workers_);
    return 0;
  }
  return host::kParamErr;
}

int32_t Canvas::PlayAction(const std::string& setName, const std::string& name) {
  const PlayableAction* action = setName == actions_.name ? actions_.Find(name) : nullptr;
  if (action == nullptr) return host::kErrNoSuchObject;
  {
    Stopwatch stopwatch(times_.adjusting);
    for (const AdjustmentEvent& event : action->events) Apply(event, selection_, image_, *workers_);
  }
  Stopwatch stopwatch(times_.thumbnails);
  tiles_.push_back({name, action->label, Thumbnail(image_, tileSide_, *workers_)});
  return 0;
}

int Canvas::HistoryStatesOf(const std::string& name) const {
  const PlayableAction* action = actions_.Find(name);
  return action != nullptr ? static_cast<int>(action->events.size()) : 1;
}

void Canvas::LoadActions(PlayableSet actions) {
  if (actions_.actions.empty()) actions_ = std::move(actions);
}

}  // namespace hostsim
