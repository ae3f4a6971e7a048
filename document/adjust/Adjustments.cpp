#include "document/adjust/Adjustments.h"

#include <algorithm>
#include <cmath>

#include "document/Selection.h"
#include "document/adjust/ColourModels.h"
#include "document/adjust/ToneCurves.h"
#include "document/blend/BlendModes.h"

namespace zem::document {
namespace {

using hostsim::Image;
using hostsim::RowWorkers;
using hostsim::ToByte;

// Calls `adjust(uint8_t* pixel)` for every pixel, the rows shared out by the workers.
template <typename Adjust>
void ForEachPixel(Image& image, const RowWorkers& workers, Adjust adjust) {
  workers.Split(0, image.height, [&](int, int first, int last) {
    for (int y = first; y < last; ++y) {
      uint8_t* pixel = image.At(0, y);
      for (int x = 0; x < image.width; ++x, pixel += 3) adjust(pixel);
    }
  });
}

int Luma(const uint8_t* p) { return (299 * p[0] + 587 * p[1] + 114 * p[2] + 500) / 1000; }

// The channel indices of a pixel, highest value first (the earlier channel first among equals).
void Order(const uint8_t* p, int order[3]) {
  int a = 0, b = 1, c = 2;
  if (p[b] > p[a]) std::swap(a, b);
  if (p[c] > p[b]) std::swap(b, c);
  if (p[b] > p[a] || (p[b] == p[a] && b < a)) std::swap(a, b);
  if (p[c] == p[b] && c < b) std::swap(b, c);
  order[0] = a, order[1] = b, order[2] = c;
}

void ApplyGradientMap(const GradientMapEvent& event, Image& image, const RowWorkers& workers) {
  if (event.stops.empty()) return;
  uint8_t table[256][3];
  for (int v = 0; v < 256; ++v) {
    double t = v / 255.0;
    if (event.reverse) t = 1 - t;
    const auto& stops = event.stops;
    const GradientStop* below = &stops.front();
    const GradientStop* above = &stops.front();
    if (t <= stops.front().location) {
      above = below;
    } else if (t >= stops.back().location) {
      below = above = &stops.back();
    } else {
      for (size_t i = 0; i + 1 < stops.size(); ++i) {
        if (t >= stops[i].location && t <= stops[i + 1].location) {
          below = &stops[i], above = &stops[i + 1];
          break;
        }
      }
    }
    double mix = 0;
    const double span = above->location - below->location;
    if (span > 0) {
      const double f = (t - below->location) / span;
      const double m = std::clamp(below->midpoint, 0.05, 0.95);
      mix = f < m ? 0.5 * f / m : 0.5 + 0.5 * (f - m) / (1 - m);
    }
    for (int c = 0; c < 3; ++c) table[v][c] = ToByte(below->rgb[c] + (above->rgb[c] - below->rgb[c]) * mix);
  }
  ForEachPixel(image, workers, [&](uint8_t* p) {
    const uint8_t* colour = table[Luma(p)];
    p[0] = colour[0], p[1] = colour[1], p[2] = colour[2];
  });
}

void ApplyChannelMixer(const ChannelMixerEvent& event, Image& image, const RowWorkers& workers) {
  auto mix = [](const double (&w)[4], const uint8_t* p) {
    return ToByte((w[0] * p[0] + w[1] * p[1] + w[2] * p[2]) / 100 + w[3] * 2.55);
  };
  ForEachPixel(image, workers, [&](uint8_t* p) {
    if (event.monochrome) {
      p[0] = p[1] = p[2] = mix(event.grey, p);
      return;
    }
    const uint8_t r = mix(event.red, p), g = mix(event.green, p), b = mix(event.blue, p);
    p[0] = r, p[1] = g, p[2] = b;
  });
}

// The grey of a colour split into its neutral part (the lowest channel), its secondary colour
// (the two highest channels above the lowest) and its primary colour (the highest channel above
// the middle one), each part weighted by the weight of its colour.
float BlackWhiteGrey(const BlackWhiteEvent& event, const uint8_t* p) {
  enum { Reds, Yellows, Greens, Cyans, Blues, Magentas };
  int order[3];  // channel indices, highest first
  Order(p, order);
  const float high = p[order[0]], middle = p[order[1]], low = p[order[2]];
  static const int kPrimary[3] = {Reds, Greens, Blues};
  // The secondary of two channels: red and green yellow, green and blue cyan, red and blue magenta.
  const int pair = order[0] + order[1];
  const int secondary = pair == 1 ? Yellows : pair == 3 ? Cyans : Magentas;
  return low + (middle - low) * float(event.weights[secondary] / 100) +
         (high - middle) * float(event.weights[kPrimary[order[0]]] / 100);
}

void ApplyBlackWhite(const BlackWhiteEvent& event, Image& image, const RowWorkers& workers) {
  const float tint[3] = {float(event.tintRgb[0] / 255), float(event.tintRgb[1] / 255), float(event.tintRgb[2] / 255)};
  ForEachPixel(image, workers, [&](uint8_t* p) {
    const float grey = BlackWhiteGrey(event, p);
    if (!event.tint) {
      p[0] = p[1] = p[2] = ToByte(grey);
      return;
    }
    const float backdrop[3] = {grey / 255, grey / 255, grey / 255};
    float coloured[3];
    BlendPixel(BlendMode::Color, backdrop, tint, coloured);
    for (int c = 0; c < 3; ++c) p[c] = ToByte(coloured[c] * 255);
  });
}

void ApplySelectiveColor(const SelectiveColorEvent& event, Image& image, const RowWorkers& workers) {
  ForEachPixel(image, workers, [&](uint8_t* p) {
    int order[3];
    Order(p, order);
    const float high = p[order[0]], middle = p[order[1]], low = p[order[2]];
    float weight[9] = {};
    static const int kPrimary[3] = {0, 2, 4};
    const int pair = order[0] + order[1];
    weight[kPrimary[order[0]]] = high - middle;
    weight[pair == 1 ? 1 : pair == 3 ? 3 : 5] = middle - low;
    weight[6] = std::max(0.0f, 2 * low - 255);                               // whites
    weight[8] = std::max(0.0f, 255 - 2 * high);                              // blacks
    weight[7] = std::max(0.0f, 255 - std::fabs(high - 127.5f) - std::fabs(low - 127.5f));  // neutrals
    float out[3] = {float(p[0]), float(p[1]), float(p[2])};
    for (int range = 0; range < 9; ++range) {
      if (weight[range] <= 0 || !event.used[range]) continue;
      const double* change = event.ranges[range];
      for (int c = 0; c < 3; ++c) {
        const float ink = 1 - p[c] / 255.0f;  // cyan of red, magenta of green, yellow of blue
        float delta = float((change[c] + change[3]) / 100);
        if (!event.absolute) delta *= ink;
        delta = std::clamp(delta, -ink, 1 - ink);
        out[c] -= delta * weight[range];
      }
    }
    for (int c = 0; c < 3; ++c) p[c] = ToByte(out[c]);
  });
}

void ApplyHueSaturationRanges(const HueSaturationRangesEvent& event, Image& image, const RowWorkers& workers) {
  ForEachPixel(image, workers, [&](uint8_t* p) {
    const float rgb[3] = {float(p[0]), float(p[1]), float(p[2])};
    hostsim::Hsl hsl = hostsim::RgbToHsl(rgb);
    double hue = event.hue, saturation = event.saturation, lightness = event.lightness;
    if (hsl.saturation > 0) {  // a grey has no hue, and no range takes it
      for (const HueRange& range : event.ranges) {
        const double weight = RangeWeight(range, hsl.hue * 60);
        hue += weight * range.hue, saturation += weight * range.saturation, lightness += weight * range.lightness;
      }
    }
    saturation = std::clamp(saturation, -100.0, 100.0), lightness = std::clamp(lightness, -100.0, 100.0);
    hsl.hue = float(std::fmod(std::fmod(hsl.hue + hue / 60, 6.0) + 6.0, 6.0));
    hsl.saturation = std::clamp(hsl.saturation * float(1 + saturation / 100), 0.0f, 1.0f);
    float out[3];
    hostsim::HslToRgb(hsl, out);
    for (float& v : out) v = float(lightness >= 0 ? v + (255 - v) * lightness / 100 : v * (1 + lightness / 100));
    for (int c = 0; c < 3; ++c) p[c] = ToByte(out[c]);
  });
}

struct Applying {
  Image& image;
  const RowWorkers& workers;
  void operator()(const hostsim::AdjustmentEvent& event) const {
    hostsim::Apply(event, hostsim::Selection(), image, workers);
  }
  void operator()(const GradientMapEvent& event) const { ApplyGradientMap(event, image, workers); }
  void operator()(const ChannelMixerEvent& event) const { ApplyChannelMixer(event, image, workers); }
  void operator()(const BlackWhiteEvent& event) const { ApplyBlackWhite(event, image, workers); }
  void operator()(const SelectiveColorEvent& event) const { ApplySelectiveColor(event, image, workers); }
  void operator()(const HueSaturationRangesEvent& event) const { ApplyHueSaturationRanges(event, image, workers); }
  void operator()(const InvertEvent&) const {
    ForEachPixel(image, workers, [](uint8_t* p) { p[0] = 255 - p[0], p[1] = 255 - p[1], p[2] = 255 - p[2]; });
  }
  void operator()(const DesaturateEvent&) const {
    ForEachPixel(image, workers, [](uint8_t* p) {
      const int sum = std::max({p[0], p[1], p[2]}) + std::min({p[0], p[1], p[2]});
      p[0] = p[1] = p[2] = uint8_t((sum + 1) / 2);
    });
  }
  void operator()(const ThresholdEvent& event) const {
    ForEachPixel(image, workers, [&](uint8_t* p) { p[0] = p[1] = p[2] = Luma(p) >= event.level ? 255 : 0; });
  }
  void operator()(const PosterizeEvent& event) const {
    const int n = std::clamp(event.levels, 2, 255);
    uint8_t table[256];
    for (int v = 0; v < 256; ++v) table[v] = uint8_t(std::lround(std::lround(v * (n - 1) / 255.0) * 255.0 / (n - 1)));
    ForEachPixel(image, workers, [&](uint8_t* p) { p[0] = table[p[0]], p[1] = table[p[1]], p[2] = table[p[2]]; });
  }
};

struct Naming {
  const char* operator()(const hostsim::AdjustmentEvent& event) const { return hostsim::EventName(event); }
  const char* operator()(const GradientMapEvent&) const { return "Gradient Map"; }
  const char* operator()(const ChannelMixerEvent&) const { return "Channel Mixer"; }
  const char* operator()(const BlackWhiteEvent&) const { return "Black & White"; }
  const char* operator()(const SelectiveColorEvent&) const { return "Selective Color"; }
  const char* operator()(const HueSaturationRangesEvent&) const { return "Hue/Saturation"; }
  const char* operator()(const InvertEvent&) const { return "Invert"; }
  const char* operator()(const DesaturateEvent&) const { return "Desaturate"; }
  const char* operator()(const ThresholdEvent&) const { return "Threshold"; }
  const char* operator()(const PosterizeEvent&) const { return "Posterize"; }
};

}  // namespace

double RangeWeight(const HueRange& range, double hue) {
  auto along = [&](double degrees) { return std::fmod(std::fmod(degrees - range.begin, 360.0) + 360.0, 360.0); };
  const double t = along(hue), fullFrom = along(range.beginFull), fullTo = along(range.endFull), to = along(range.end);
  if (t < fullFrom) return fullFrom > 0 ? t / fullFrom : 1;
  if (t <= fullTo) return 1;
  if (t < to) return (to - t) / (to - fullTo);
  return 0;
}

void ApplyAdjustment(const Adjustment& adjustment, Image& image, const RowWorkers& workers) {
  std::visit(Applying{image, workers}, adjustment);
}

const char* AdjustmentName(const Adjustment& adjustment) { return std::visit(Naming{}, adjustment); }

}  // namespace zem::document
