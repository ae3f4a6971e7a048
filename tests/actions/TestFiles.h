// Files and sets the action-file tests share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "actions/ActionModel.h"

namespace zem::actions::testing {

// The file's bytes; empty when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);

// The path of an action file saved by Photoshop in the shared test data, or empty when the test
// data is not on this machine.
std::string PhotoshopWritten(const std::string& name);

// The path of an input a fuzz target found, kept in the shared test data, or empty when it is not
// on this machine.
std::string FuzzFinding(const std::string& name);

// The set the text describes; the test fails when the text does not read.
ActionSet FromText(const std::string& text);

}  // namespace zem::actions::testing
