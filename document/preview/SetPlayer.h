// Plays every action of an action set, each on its own copy of an image, and records what became
// of each step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "actions/ActionModel.h"
#include "document/RowWorkers.h"
#include "imaging/Image.h"

namespace zem::document {

struct StepRecord {
  size_t index = 0;     // 1-based within the action
  std::string event;    // the string ID, or the code in quotes
  size_t offset = 0;    // where the step starts in the file
  std::string result;   // "played", "no-op", "skipped: why", "refused: why", "not played: ..."
};

struct ActionRecord {
  std::string name;
  std::vector<StepRecord> steps;
  int played = 0, noOps = 0, skipped = 0;
  bool refused = false;  // the action stopped at a step it could not play
};

struct PlayOptions {
  bool skipUnknown = false;  // a step that cannot be played is skipped instead of stopping the action
  std::string only;          // the one action to play; all when empty
  int64_t pixelLimit = hostsim::kMaxImagePixels;  // the largest document a step may make
};

// Called after each action with its record and the document's composite. The image is dropped
// when the call returns, so that a set of any length holds one result at a time.
using ActionDone = std::function<void(const ActionRecord& record, const hostsim::Image& result)>;

// Plays the actions in order. Returns false with `error` when `options.only` names no action.
bool PlaySet(const zem::actions::ActionSet& set, const hostsim::Image& image, const PlayOptions& options,
             const ActionDone& done, std::string& error, const hostsim::RowWorkers& workers = hostsim::SerialRows());

enum class SetOutcome { AllPlayed, PlayedWithSkips, Refused };
SetOutcome OutcomeOf(const std::vector<ActionRecord>& records);

// The report: for every step of every action its index, event, byte offset and result, as JSON.
std::string ReportJson(const std::string& setName, const std::string& file, int width, int height,
                       const std::vector<ActionRecord>& records, const std::vector<std::string>& pictures);

}  // namespace zem::document
