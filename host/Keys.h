// The events, keys, classes, types, enumerations and units that the plug-in sends.
#pragma once

#include <cstdint>

#include "host/FourCC.h"

namespace host {

constexpr uint32_t kEventSet = FourCC("setd");
constexpr uint32_t kEventAddTo = FourCC("AddT");
constexpr uint32_t kEventPlay = FourCC("Ply ");
constexpr uint32_t kEventOpen = FourCC("Opn ");

constexpr uint32_t kKeyNull = FourCC("null");
constexpr uint32_t kKeyTo = FourCC("T   ");
constexpr uint32_t kKeyPoints = FourCC("Pts ");
constexpr uint32_t kKeyHorizontal = FourCC("Hrzn");
constexpr uint32_t kKeyVertical = FourCC("Vrtc");
constexpr uint32_t kKeyAntiAlias = FourCC("AntA");
constexpr uint32_t kKeyTop = FourCC("Top ");
constexpr uint32_t kKeyLeft = FourCC("Left");
constexpr uint32_t kKeyBottom = FourCC("Btom");
constexpr uint32_t kKeyRight = FourCC("Rght");
constexpr uint32_t kKeySelection = FourCC("fsel");
constexpr uint32_t kKeyCount = FourCC("Cnt ");

constexpr uint32_t kClassPolygon = FourCC("Plgn");
constexpr uint32_t kClassPoint = FourCC("Pnt ");
constexpr uint32_t kClassRectangle = FourCC("Rctn");
constexpr uint32_t kClassChannel = FourCC("Chnl");
constexpr uint32_t kClassDocument = FourCC("Dcmn");
constexpr uint32_t kClassAction = FourCC("Actn");
constexpr uint32_t kClassActionSet = FourCC("ASet");

constexpr uint32_t kTypeOrdinal = FourCC("Ordn");
constexpr uint32_t kEnumNone = FourCC("None");
constexpr uint32_t kEnumTarget = FourCC("Trgt");

constexpr uint32_t kUnitPixels = FourCC("#Pxl");

constexpr uint32_t kPhotoshopSignature = FourCC("8BIM");
constexpr uint32_t kPropDocumentWidth = FourCC("docW");
constexpr uint32_t kPropDocumentHeight = FourCC("docH");

}  // namespace host
