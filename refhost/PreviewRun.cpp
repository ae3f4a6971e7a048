#include "refhost/PreviewRun.h"

#include <chrono>
#include <cstdio>

#include "document/Canvas.h"
#include "document/Thumbnail.h"
#include "imaging/FileAccess.h"
#include "imaging/PngWriter.h"
#include "refhost/ContactSheet.h"

namespace zem::document {
namespace {

#ifdef _WIN32
constexpr char kSeparator[] = "\\";
#else
constexpr char kSeparator[] = "/";
#endif

std::string Summary(const ActionRecord& record) {
  std::string text = std::to_string(record.played) + " played";
  if (record.noOps > 0) text += ", " + std::to_string(record.noOps) + " no-op";
  if (record.skipped > 0) text += ", " + std::to_string(record.skipped) + " skipped";
  if (record.refused) text += ", refused";
  return text;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes, std::ostream& err) {
  if (!bytes.empty() && hostsim::WriteWholeFile(path, bytes.data(), bytes.size())) return true;
  err << "hostsim: cannot write " << path << "\n";
  return false;
}

}  // namespace

std::string PictureName(size_t position, const std::string& action) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02zu-", position);
  std::string name = prefix;
  for (const char c : action) {
    const auto byte = static_cast<unsigned char>(c);
    const bool forbidden = byte < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' || c == '\\' ||
                           c == '|' || c == '?' || c == '*';
    name += forbidden ? '_' : c;
  }
  // Windows drops trailing dots and spaces from a name.
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.back() = '_';
  return name + ".png";
}

int PreviewActionSet(const zem::actions::ActionSet& set, const std::string& source, const hostsim::Image& image,
                     const std::string& folder, const PlayOptions& options, const hostsim::RowWorkers& workers,
                     std::ostream& out, std::ostream& progress, std::ostream& err) {
  const std::string setName = zem::actions::ToUtf8(set.name.units);
  const size_t total = options.only.empty() ? set.actions.size() : 1;
  const auto start = std::chrono::steady_clock::now();
  std::vector<ActionRecord> records;
  std::vector<std::string> pictures;
  std::vector<hostsim::Tile> tiles;
  tiles.push_back({"original", std::to_string(image.width) + " x " + std::to_string(image.height),
                   hostsim::Thumbnail(image, hostsim::kTileWidth, workers)});
  bool written = true;
  std::string error;
  const bool played = PlaySet(set, image, options, [&](const ActionRecord& record, const hostsim::Image& result) {
    records.push_back(record);
    const std::string picture = PictureName(records.size(), record.name);
    pictures.push_back(picture);
    const bool large = result.width > kActionPictureSide || result.height > kActionPictureSide;
    const hostsim::Image reduced = large ? hostsim::Thumbnail(result, kActionPictureSide, workers) : hostsim::Image();
    const hostsim::Image& shown = large ? reduced : result;
    written = WriteFile(folder + kSeparator + picture, hostsim::EncodePng(shown), err) && written;
    // The tile from the picture: a few times larger than the tile, it averages as the image would.
    tiles.push_back({record.name, Summary(record), hostsim::Thumbnail(shown, hostsim::kTileWidth, workers)});
    if (total > 3) {
      progress << "hostsim: action " << records.size() << " of " << total << ", " << record.name << ": "
               << Summary(record) << "\n";
      progress.flush();
    }
  }, error, workers);
  if (!played) {
    err << "hostsim: " << source << ": " << error << "\n";
    return kPreviewFailed;
  }
  const std::string report = ReportJson(setName, source, image.width, image.height, records, pictures);
  written = WriteFile(folder + kSeparator + "report.json", std::vector<uint8_t>(report.begin(), report.end()), err) && written;
  written = WriteFile(folder + kSeparator + "contact-sheet.png", hostsim::EncodePng(hostsim::ContactSheet(setName, tiles)), err) &&
            written;
  if (!written) return kPreviewFailed;

  int steps = 0, playedSteps = 0, noOps = 0, skipped = 0;
  for (const ActionRecord& record : records) {
    steps += int(record.steps.size()), playedSteps += record.played, noOps += record.noOps, skipped += record.skipped;
    for (const StepRecord& step : record.steps) {
      if (step.result.rfind("skipped: ", 0) == 0 || step.result.rfind("refused: ", 0) == 0) {
        out << "  " << record.name << ", step " << step.index << " (" << step.event << ", byte " << step.offset
            << "): " << step.result << "\n";
      }
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", seconds);
  out << "action set " << setName << ": " << records.size() << " actions, " << steps << " steps: " << playedSteps
      << " played, " << noOps << " no-op, " << skipped << " skipped, in " << time << "\n"
      << "contact sheet: " << folder << kSeparator << "contact-sheet.png\n"
      << "report: " << folder << kSeparator << "report.json\n";
  switch (OutcomeOf(records)) {
    case SetOutcome::AllPlayed: return kEveryStepPlayed;
    case SetOutcome::PlayedWithSkips: return kPlayedWithSkips;
    default:
      out << "some actions stopped at a step that is not modelled; --skip-unknown plays on past such steps\n";
      return kStepsRefused;
  }
}

}  // namespace zem::document
