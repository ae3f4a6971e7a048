// The three kinds of selection event: a polygon, a rectangle (set or added), and clearing.
// Every event targets the document's selection and is played silently; each operation frees
// everything it made, on every path, in the order the host expects.
#include "host/Keys.h"
#include "host/Messages.h"
#include "hostaccess/HostObjects.h"
#include "variations/SplitRegion.h"

namespace zem {
namespace {

struct Point {
  double x;
  double y;
};

// Makes the event descriptor and puts into it, under 'null', a reference to the selection.
int32_t StartSelectionEvent(OwnedDescriptor& event, OwnedReference& selection) {
  if (int32_t error = DescriptorSuite().Make(event.Receive())) return error;
  if (int32_t error = ReferenceSuite().Make(selection.Receive())) return error;
  if (int32_t error = ReferenceSuite().PutProperty(selection.get(), host::kClassChannel, host::kKeySelection)) {
    return error;
  }
  return DescriptorSuite().PutReference(event.get(), host::kKeyNull, selection.get());
}

int32_t PlaySilently(uint32_t eventId, const OwnedDescriptor& event, OwnedDescriptor& result) {
  return ControlSuite().Play(result.Receive(), eventId, event.get(), host::plugInDialogSilent);
}

int32_t PutPixels(const OwnedDescriptor& target, uint32_t key, double value) {
  return DescriptorSuite().PutUnitFloat(target.get(), key, host::kUnitPixels, value);
}

int32_t SelectPolygon(const Point (&vertices)[4]) {
  // Freed in reverse order of declaration: result, event, reference, polygon, list, points 1 to 4.
  OwnedDescriptorRow<4> points;
  OwnedList list;
  OwnedDescriptor polygon;
  OwnedReference selection;
  OwnedDescriptor event;
  OwnedDescriptor result;

  if (int32_t error = StartSelectionEvent(event, selection)) return error;
  const host::PSActionDescriptorProcs& descriptors = DescriptorSuite();
  if (int32_t error = descriptors.Make(polygon.Receive())) return error;
  if (int32_t error = ListSuite().Make(list.Receive())) return error;
  for (int i = 0; i < 4; ++i) {
    if (int32_t error = descriptors.Make(points[i].Receive())) return error;
    if (int32_t error = PutPixels(points[i], host::kKeyHorizontal, vertices[i].x)) return error;
    if (int32_t error = PutPixels(points[i], host::kKeyVertical, vertices[i].y)) return error;
    if (int32_t error = ListSuite().PutObject(list.get(), host::kClassPoint, points[i].get())) return error;
  }
  if (int32_t error = descriptors.PutList(polygon.get(), host::kKeyPoints, list.get())) return error;
  if (int32_t error = descriptors.PutObject(event.get(), host::kKeyTo, host::kClassPolygon, polygon.get())) {
    return error;
  }
  if (int32_t error = descriptors.PutBoolean(event.get(), host::kKeyAntiAlias, 1)) return error;
  return PlaySilently(host::kEventSet, event, result);
}

int32_t PlayRectangle(uint32_t eventId, double top, double left, double bottom, double right) {
  // Freed in reverse order of declaration: result, event, reference, rectangle.
  OwnedDescriptor rectangle;
  OwnedReference selection;
  OwnedDescriptor event;
  OwnedDescriptor result;

  if (int32_t error = StartSelectionEvent(event, selection)) return error;
  const host::PSActionDescriptorProcs& descriptors = DescriptorSuite();
  if (int32_t error = descriptors.Make(rectangle.Receive())) return error;
  if (int32_t error = PutPixels(rectangle, host::kKeyTop, top)) return error;
  if (int32_t error = PutPixels(rectangle, host::kKeyLeft, left)) return error;
  if (int32_t error = PutPixels(rectangle, host::kKeyBottom, bottom)) return error;
  if (int32_t error = PutPixels(rectangle, host::kKeyRight, right)) return error;
  if (int32_t error = descriptors.PutObject(event.get(), host::kKeyTo, host::kClassRectangle, rectangle.get())) {
    return error;
  }
  return PlaySilently(eventId, event, result);
}

}  // namespace

int32_t Deselect() {
  OwnedReference selection;
  OwnedDescriptor event;
  OwnedDescriptor result;

  if (int32_t error = StartSelectionEvent(event, selection)) return error;
  if (int32_t error =
          DescriptorSuite().PutEnumerated(event.get(), host::kKeyTo, host::kTypeOrdinal, host::kEnumNone)) {
    return error;
  }
  return PlaySilently(host::kEventSet, event, result);
}

int32_t SelectDiagonalHalf(double width, double height) {
  return SelectPolygon({{0, 0}, {width, height}, {0, height}, {0, 0}});
}

int32_t SelectLeftQuarter(double width, double height) {
  return SelectPolygon({{0, 0}, {0.5 * width, 0.5 * height}, {0, height}, {0, 0}});
}

int32_t SelectRightQuarter(double width, double height) {
  return SelectPolygon({{width, 0}, {0.5 * width, 0.5 * height}, {width, height}, {width, 0}});
}

int32_t SelectLeftPart(int32_t width, int32_t height) {
  return PlayRectangle(host::kEventSet, 0, 0, height, width / 2);
}

int32_t SelectTopPart(int32_t width, int32_t height) {
  return PlayRectangle(host::kEventSet, 0, 0, height / 2, width);
}

int32_t AddRectangle(double top, double left, double bottom, double right) {
  return PlayRectangle(host::kEventAddTo, top, left, bottom, right);
}

}  // namespace zem
