// The action set the reference host plays: an action file read, checked and converted before the
// run, so that a file the host cannot play is refused before anything is drawn or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/AdjustmentEvents.h"

namespace hostsim {

struct PlayableAction {
  std::string name;
  std::vector<AdjustmentEvent> events;  // the enabled events, in the order they play
  std::string label;                    // "Color Balance +20 red"
};

struct PlayableSet {
  std::string name;
  std::string source;  // the file it was read from, for messages
  std::vector<PlayableAction> actions;

  // The action of that name, or null; a lookup by name, not a walk through the set.
  const PlayableAction* Find(const std::string& name) const;

  std::unordered_map<std::string, size_t> index;
};

// Reads the bytes of an action file named `source`. The file must read as an action file, hold
// the set `setName` (any set when it is empty) with at least one action, no two actions of one name, and only events the
// reference host models (disabled events are skipped, as Photoshop skips them). Returns false with
// one message naming the file, the action, the event and the byte offset where there is one.
bool LoadPlayableSet(const uint8_t* bytes, size_t size, const std::string& source, const std::string& setName,
                     PlayableSet& set, std::string& error);

// The largest action file read: sets saved by Photoshop are a few kilobytes, a thousand actions
// well under a megabyte.
constexpr size_t kMaxActionFileBytes = size_t(64) << 20;

// Reads the action file at `path` (UTF-8) and loads it as LoadPlayableSet does.
bool ReadPlayableSetFile(const std::string& path, const std::string& setName, PlayableSet& set, std::string& error);


}  // namespace hostsim
