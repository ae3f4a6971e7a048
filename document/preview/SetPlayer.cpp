#include "document/preview/SetPlayer.h"

#include <cstdio>

#include "document/layers/Document.h"
#include "document/steps/StepPlayer.h"

namespace zem::document {
namespace {

// A JSON string: quotes, backslashes and control characters escaped; bytes from 0x80 are kept,
// since the text is UTF-8 (names come from UTF-16 through a converter that makes valid UTF-8).
std::string Json(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

bool PlaySet(const zem::actions::ActionSet& set, const hostsim::Image& image, const PlayOptions& options,
             const ActionDone& done, std::string& error, const hostsim::RowWorkers& workers) {
  bool found = options.only.empty();
  for (const zem::actions::Action& action : set.actions) {
    const std::string name = zem::actions::ToUtf8(action.name.units);
    if (!options.only.empty() && name != options.only) continue;
    found = true;
    ActionRecord record;
    record.name = name;
    Document document(image);
    document.pixelLimit = options.pixelLimit;
    for (size_t i = 0; i < action.events.size(); ++i) {
      const zem::actions::Event& event = action.events[i];
      StepRecord step{i + 1, EventIdText(event), event.offset, ""};
      if (record.refused) {
        step.result = "not played: the action stopped at an earlier step";
      } else if (!event.enabled) {
        step.result = "no-op";  // unticked in the Actions panel: Photoshop passes over it
        ++record.noOps;
      } else {
        const StepResult result = PlayStep(document, event, workers);
        if (result.outcome == StepOutcome::Played) {
          step.result = "played";
          ++record.played;
        } else if (result.outcome == StepOutcome::NoOp) {
          step.result = "no-op";
          ++record.noOps;
        } else if (options.skipUnknown) {
          step.result = "skipped: " + result.why;
          ++record.skipped;
        } else {
          step.result = "refused: " + result.why;
          record.refused = true;
        }
      }
      record.steps.push_back(std::move(step));
    }
    done(record, document.Composite(workers));
  }
  if (!found) {
    error = "the set has no action named \"" + options.only + "\"";
    return false;
  }
  return true;
}

SetOutcome OutcomeOf(const std::vector<ActionRecord>& records) {
  SetOutcome outcome = SetOutcome::AllPlayed;
  for (const ActionRecord& record : records) {
    if (record.refused) return SetOutcome::Refused;
    if (record.skipped > 0) outcome = SetOutcome::PlayedWithSkips;
  }
  return outcome;
}

std::string ReportJson(const std::string& setName, const std::string& file, int width, int height,
                       const std::vector<ActionRecord>& records, const std::vector<std::string>& pictures) {
  std::string out = "{\n  \"set\": " + Json(setName) + ",\n  \"file\": " + Json(file) + ",\n  \"image\": {\"width\": " +
                    std::to_string(width) + ", \"height\": " + std::to_string(height) + "},\n  \"actions\": [";
  for (size_t a = 0; a < records.size(); ++a) {
    const ActionRecord& record = records[a];
    const char* status = record.refused ? "refused" : record.skipped > 0 ? "played with steps skipped" : "played";
    out += std::string(a == 0 ? "\n" : ",\n") + "    {\"name\": " + Json(record.name) + ", \"status\": \"" + status +
           "\", \"picture\": " + Json(a < pictures.size() ? pictures[a] : "") + ", \"steps\": [";
    for (size_t s = 0; s < record.steps.size(); ++s) {
      const StepRecord& step = record.steps[s];
      out += std::string(s == 0 ? "\n" : ",\n") + "      {\"index\": " + std::to_string(step.index) +
             ", \"event\": " + Json(step.event) + ", \"offset\": " + std::to_string(step.offset) +
             ", \"result\": " + Json(step.result) + "}";
    }
    out += record.steps.empty() ? "]}" : "\n    ]}";
  }
  out += records.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

}  // namespace zem::document
