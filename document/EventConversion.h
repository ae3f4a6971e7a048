// From the events of an action file to the adjustments the reference host applies: each event's
// descriptor read into its AdjustmentEvent record, and a short label for the contact sheet.
#pragma once

#include <string>

#include "actions/ActionModel.h"
#include "document/AdjustmentEvents.h"

namespace hostsim {

// Converts one event. Numbers are held to the range of the event's dialog as they are converted,
// so that no value in a file can overflow a field. Returns false with `error` saying what the
// reference host cannot model ("an entry for a colour range: only the master range is modelled").
bool ConvertEvent(const zem::actions::Event& event, AdjustmentEvent& adjustment, std::string& error);

// The event and its main value: "Color Balance +20 red", "Levels gamma 1.20".
std::string EventLabel(const AdjustmentEvent& adjustment);

// The events the reference host models, for messages.
extern const char kModelledEvents[];

}  // namespace hostsim
