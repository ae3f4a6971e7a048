#include "document/PlayableActions.h"


#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"
#include "document/EventConversion.h"
#include "imaging/FileAccess.h"

namespace hostsim {

using zem::actions::QuotedBytes;
using zem::actions::QuotedUnicode;
using zem::actions::ToUtf8;

const PlayableAction* PlayableSet::Find(const std::string& name) const {
  const auto found = index.find(name);
  return found == index.end() ? nullptr : &actions[found->second];
}

bool LoadPlayableSet(const uint8_t* bytes, size_t size, const std::string& source, const std::string& setName,
                     PlayableSet& set, std::string& error) {
  zem::actions::ActionSet file;
  zem::actions::ReadError readError;
  if (!zem::actions::ReadActionFile(bytes, size, file, readError)) {
    error = source + " is not a valid action file: " + readError.message;
    return false;
  }
  PlayableSet playable;
  playable.name = ToUtf8(file.name.units);
  playable.source = source;
  if (!setName.empty() && playable.name != setName) {
    error = source + " holds the action set " + QuotedUnicode(file.name.units) + "; the plug-in plays the set \"" +
            setName + "\"";
    return false;
  }
  if (file.actions.empty()) {
    error = source + " holds no actions: the set " + QuotedUnicode(file.name.units) + " is empty";
    return false;
  }
  std::unordered_map<std::string, size_t> offsets;
  for (const zem::actions::Action& action : file.actions) {
    PlayableAction played;
    played.name = ToUtf8(action.name.units);
    const auto [previous, added] = offsets.emplace(played.name, action.offset);
    if (!added) {
      error = source + ", byte " + std::to_string(action.offset) + ": a second action named " +
              QuotedUnicode(action.name.units) + " (the first is at byte " + std::to_string(previous->second) + ")";
      return false;
    }
    for (size_t i = 0; i < action.events.size(); ++i) {
      const zem::actions::Event& event = action.events[i];
      if (!event.enabled) continue;
      AdjustmentEvent adjustment;
      std::string why;
      if (!ConvertEvent(event, adjustment, why)) {
        error = source + ", byte " + std::to_string(event.offset) + ": action " + QuotedUnicode(action.name.units) +
                ", event " + std::to_string(i + 1) + " " + QuotedBytes(event.displayName) +
                " cannot be previewed: " + why;
        return false;
      }
      played.label += (played.label.empty() ? "" : " + ") + EventLabel(adjustment);
      played.events.push_back(std::move(adjustment));
    }
    if (played.events.empty()) played.label = "no enabled event";
    playable.index.emplace(played.name, playable.actions.size());
    playable.actions.push_back(std::move(played));
  }
  set = std::move(playable);
  return true;
}

bool ReadPlayableSetFile(const std::string& path, const std::string& setName, PlayableSet& set, std::string& error) {
  std::vector<uint8_t> bytes;
  const FileRead read = ReadWholeFile(path, kMaxActionFileBytes, bytes);
  if (read != FileRead::kRead) {
    error = ReadProblem(read, "the action file", path, kMaxActionFileBytes);
    return false;
  }
  return LoadPlayableSet(bytes.data(), bytes.size(), path, setName, set, error);
}

}  // namespace hostsim
