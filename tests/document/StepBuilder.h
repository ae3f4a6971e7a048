// Steps for the tests, written in the action text form: one event line, as `atn to-text` prints it.
#pragma once

#include <string>

#include "actions/ActionModel.h"
#include "document/layers/Document.h"

namespace zem::document::testing {

// The event of one line such as `event make "Make" 'Mk  ' {...}`; the test fails when it does not read.
zem::actions::Event Step(const std::string& line);

// Plays the line's step on the document: "played", "no-op" or "refused: why".
std::string Play(Document& document, const std::string& line);

// An image of one colour.
hostsim::Image Plain(int width, int height, uint8_t r, uint8_t g, uint8_t b);

}  // namespace zem::document::testing
