// Adjustment events with any values at all, applied through any selection: nothing may overflow
// (UBSan), read out of bounds (ASan) or change a pixel outside the selection's bounding box. An
// input that reads as an action file is played as the reference host plays one: the set loaded
// as it loads it, and every event it can convert applied, alternately to the whole image and
// through a rectangle; any other input is read as an event's fields directly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "actions/BinaryFormat.h"
#include "document/AdjustmentEvents.h"
#include "document/EventConversion.h"
#include "document/PlayableActions.h"

namespace {

// Takes values from the input in turn; zeros once it runs out.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  template <typename T>
  T Next() {
    T value{};
    const size_t n = size_ - offset_ < sizeof value ? size_ - offset_ : sizeof value;
    std::memcpy(&value, data_ + offset_, n);
    offset_ += n;
    return value;
  }
  int Int() { return Next<int32_t>(); }
  double Double() { return Next<double>(); }
  bool Flag() { return Next<uint8_t>() & 1; }
  hostsim::ChannelTarget Channel() { return static_cast<hostsim::ChannelTarget>(Next<uint8_t>() % 5); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
};

hostsim::AdjustmentEvent ReadEvent(Reader& in) {
  switch (in.Next<uint8_t>() % 8) {
    case 0: {
      hostsim::ColorBalanceEvent e;
      for (int c = 0; c < 3; ++c) e.shadows[c] = in.Int(), e.midtones[c] = in.Int(), e.highlights[c] = in.Int();
      e.preserveLuminosity = in.Flag();
      return e;
    }
    case 1: return hostsim::BrightnessContrastEvent{in.Int(), in.Int(), in.Flag()};
    case 2: return hostsim::HueSaturationEvent{in.Int(), in.Int(), in.Int(), in.Flag()};
    case 3: {
      hostsim::PhotoFilterEvent e;
      e.model = static_cast<hostsim::PhotoFilterEvent::Model>(in.Next<uint8_t>() % 4);
      for (double& c : e.colour) c = in.Double();
      e.density = in.Int();
      e.preserveLuminosity = in.Flag();
      return e;
    }
    case 4: {
      hostsim::LevelsEvent e;
      for (int n = in.Next<uint8_t>() % 6; n > 0; --n) {
        e.entries.push_back({in.Channel(), in.Int(), in.Int(), in.Double(), in.Int(), in.Int()});
      }
      return e;
    }
    case 5: {
      hostsim::CurvesEvent e;
      for (int n = in.Next<uint8_t>() % 6; n > 0; --n) {
        hostsim::CurvesEntry entry{in.Channel(), {}};
        for (int p = in.Next<uint8_t>() % 20; p > 0; --p) entry.points.push_back({in.Double(), in.Double()});
        e.entries.push_back(entry);
      }
      return e;
    }
    case 6: return hostsim::ExposureEvent{in.Double(), in.Double(), in.Double()};
    default: return hostsim::VibranceEvent{in.Int(), in.Int()};
  }
}

constexpr int kWidth = 24, kHeight = 12;

// Applies the event through the selection to a patterned image; aborts when a pixel outside the
// selection's bounding box changes.
void ApplyAndCheck(const hostsim::AdjustmentEvent& event, const hostsim::Selection& selection) {
  hostsim::Image image(kWidth, kHeight);
  for (size_t i = 0; i < image.rgb.size(); ++i) image.rgb[i] = static_cast<uint8_t>(i * 37);
  const hostsim::Image original = image;
  hostsim::Apply(event, selection, image);
  const hostsim::PixelBox& box = selection.Bounds();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool inside = !selection.active() || (x >= box.left && x < box.right && y >= box.top && y < box.bottom);
      if (!inside && std::memcmp(image.At(x, y), original.At(x, y), 3) != 0) std::abort();
    }
  }
}

// Plays every event of the file the reference host can convert, alternately on the whole image and
// through a rectangle. Conversion must either succeed or say why; loading the whole set must do
// the same.
void PlayActionFile(const uint8_t* data, size_t size, const zem::actions::ActionSet& file) {
  hostsim::PlayableSet playable;
  std::string error;
  if (!hostsim::LoadPlayableSet(data, size, "input.atn", "", playable, error) && error.rfind("input.atn", 0) != 0) {
    std::abort();
  }
  hostsim::Selection whole, rectangle;
  whole.Resize(kWidth, kHeight);
  rectangle.Resize(kWidth, kHeight);
  rectangle.SetRectangle(2.5, 3, 9, 17.25);
  int played = 0;
  for (const zem::actions::Action& action : file.actions) {
    for (const zem::actions::Event& event : action.events) {
      hostsim::AdjustmentEvent adjustment;
      std::string why;
      if (!hostsim::ConvertEvent(event, adjustment, why)) {
        if (why.empty()) std::abort();
        continue;
      }
      if (hostsim::EventLabel(adjustment).empty()) std::abort();
      ApplyAndCheck(adjustment, played++ % 2 == 0 ? whole : rectangle);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zem::actions::ActionSet file;
  zem::actions::ReadError readError;
  if (zem::actions::ReadActionFile(data, size, file, readError)) {
    PlayActionFile(data, size, file);
    return 0;
  }
  Reader in(data, size);
  hostsim::Selection selection;
  selection.Resize(kWidth, kHeight);
  switch (in.Next<uint8_t>() % 3) {
    case 0: break;
    case 1: selection.SetRectangle(in.Double(), in.Double(), in.Double(), in.Double()); break;
    default: {
      std::vector<hostsim::Point> points;
      for (int n = in.Next<uint8_t>() % 6; n > 0; --n) points.push_back({in.Double(), in.Double()});
      selection.SetPolygon(points, in.Flag());
    }
  }
  ApplyAndCheck(ReadEvent(in), selection);
  return 0;
}
