// From an action file's descriptors to the document's adjustments: a direct adjustment step
// ("curves", "invert", ...) and the 'Type' of an adjustment layer, made or set.
#pragma once

#include <string>

#include "actions/ActionModel.h"
#include "document/adjust/Adjustments.h"

namespace zem::document {

// Whether the event's string ID names an adjustment applied directly to a layer's pixels.
bool IsAdjustmentEvent(const std::string& id);
// The adjustment of such a step; refused (StepRefusal) with the reason when it cannot be modelled.
Adjustment ReadAdjustmentEvent(const std::string& id, const zem::actions::Descriptor& descriptor, bool hasDescriptor);
// The adjustment of an adjustment layer: its 'Type', an object of the adjustment's class with its
// settings, or the class alone for the adjustment's defaults.
Adjustment ReadLayerAdjustment(const zem::actions::Value& type);

}  // namespace zem::document
