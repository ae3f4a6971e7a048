// The document the reference host works on: its pixels, its selection, the actions that the
// plug-in plays on it, and a small picture of it after each action.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/PlayableActions.h"
#include "document/RowWorkers.h"
#include "document/Selection.h"
#include "document/Thumbnail.h"
#include "hostsim/PixelDocument.h"
#include "hostsim/Values.h"
#include "imaging/Image.h"

namespace hostsim {

struct Tile {
  std::string label;   // the action's name, or "original"
  std::string detail;  // what the action did: "Color Balance +20 red"
  Image picture;
};

// The time spent on each kind of pixel work, in seconds.
struct PixelWorkTimes {
  double selecting = 0;
  double adjusting = 0;
  double thumbnails = 0;
};

class Canvas : public PixelDocument {
 public:
  // `tileSide` bounds the pictures taken, of the original now and after each action: each fits a
  // square tile of that side, whatever the image's proportions. The pixel work is shared out by
  // `workers`, which must outlive the canvas.
  Canvas(Image image, PlayableSet actions, int tileSide, const RowWorkers& workers = SerialRows());

  // A selection event: 'setd' or 'AddT' on the selection. Returns 0, or -50 for an event that
  // does not describe a selection the host knows.
  int32_t Select(uint32_t event, const Descriptor& parameters) override;
  // Applies the events of the action `name` of the set `setName` in order through the current
  // selection and takes its picture. Returns 0, or -1728 for an action the document's set does not
  // hold (or a set other than the document's).
  int32_t PlayAction(const std::string& setName, const std::string& name) override;
  const std::string& ActionSetName() const override { return actions_.name; }
  int HistoryStatesOf(const std::string& name) const override;
  // A set loaded into a host that had none. A play by name takes the first set of the name, so a
  // set loaded after the first leaves the played actions as they were.
  void LoadActions(PlayableSet actions);

  const Image& image() const { return image_; }
  const Selection& selection() const { return selection_; }
  const PlayableSet& actions() const { return actions_; }
  const std::vector<Tile>& tiles() const { return tiles_; }
  const PixelWorkTimes& times() const { return times_; }

 private:
  Image image_;
  Selection selection_;
  PlayableSet actions_;
  int tileSide_;
  const RowWorkers* workers_;
  std::vector<Tile> tiles_;
  PixelWorkTimes times_;
};

}  // namespace hostsim
