// Adjustment events with any values at all, as an action file might carry them, applied through
// any selection: nothing may overflow (UBSan), read out of bounds (ASan) or change a pixel outside
// the selection's bounding box.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "document/AdjustmentEvents.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr int kWidth = 24, kHeight = 12;
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
  const hostsim::AdjustmentEvent event = ReadEvent(in);

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
  return 0;
}
