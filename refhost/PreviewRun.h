// The preview of an action set: every action played on its own copy of the image, and the files
// that show the result: a contact sheet with a tile named after each action, one PNG per action
// and report.json, all in one folder.
#pragma once

#include <ostream>
#include <string>

#include "actions/ActionModel.h"
#include "document/RowWorkers.h"
#include "document/preview/SetPlayer.h"
#include "imaging/Image.h"

namespace zem::document {

// The exit statuses of a preview.
constexpr int kEveryStepPlayed = 0;
constexpr int kPlayedWithSkips = 3;
constexpr int kStepsRefused = 4;
constexpr int kPreviewFailed = 1;

// The PNG of each action is the result at most this many pixels on its longer side, scaled down
// (each pixel the average of those it covers) when the image is larger.
constexpr int kActionPictureSide = 1024;

// Plays the set and writes the files into `folder`, which exists. Progress goes to `progress`
// for sets of more than three actions, the summary to `out`, problems to `err`. Returns one of
// the exit statuses above.
int PreviewActionSet(const zem::actions::ActionSet& set, const std::string& source, const hostsim::Image& image,
                     const std::string& folder, const PlayOptions& options, const hostsim::RowWorkers& workers,
                     std::ostream& out, std::ostream& progress, std::ostream& err);

// A file name from an action's name: its position, then the name with every character that a
// Windows file name cannot hold replaced by '_': "03-Cross Process 1 (Dark).png".
std::string PictureName(size_t position, const std::string& action);

}  // namespace zem::document
