// Plays one recorded step (an event of an action file) on the layered document.
#pragma once

#include <string>

#include "actions/ActionModel.h"
#include "document/RowWorkers.h"
#include "document/layers/Document.h"
#include "document/steps/StepSupport.h"

namespace zem::document {

struct StepResult {
  StepOutcome outcome = StepOutcome::Played;
  std::string why;  // for a refused step: what is not modelled or what is wrong
};

// Plays the step. A step that changes nothing a preview shows is a no-op; one that reaches outside
// the document (scripts, other files), one not modelled and one with a malformed or impossible
// value is refused, and the document is then as it was before the step. Never throws.
StepResult PlayStep(Document& document, const zem::actions::Event& event,
                    const hostsim::RowWorkers& workers = hostsim::SerialRows());

// The event's name as reports give it: its string ID, or its code in quotes.
std::string EventIdText(const zem::actions::Event& event);

}  // namespace zem::document
