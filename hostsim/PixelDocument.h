// The document's pixels, as the host model sees them: selection events shape its selection and
// 'Ply ' plays an action of its set on it. The previewed document implements this; a host without
// one knows its actions by name only.
#pragma once

#include <cstdint>
#include <string>

#include "hostsim/Values.h"

namespace hostsim {

class PixelDocument {
 public:
  virtual ~PixelDocument() = default;

  // The name of the document's action set; empty while it has none.
  virtual const std::string& ActionSetName() const = 0;
  // Plays the action `actionName` of the set `setName`: 0, or -1728 for an action the document's
  // set does not hold (or a set other than the document's).
  virtual int32_t PlayAction(const std::string& setName, const std::string& actionName) = 0;
  // The history states a play of the action leaves: one per event played.
  virtual int HistoryStatesOf(const std::string& actionName) const = 0;
  // A selection event ('setd' or 'AddT' on the selection): 0, or -50 for one that does not describe
  // a selection the document knows.
  virtual int32_t Select(uint32_t event, const Descriptor& parameters) = 0;
};

}  // namespace hostsim
