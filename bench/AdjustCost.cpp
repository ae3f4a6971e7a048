// What the reference host's adjustment events cost on a real photo's size: the eighteen
// variations of one run, one event each as the shipped action set has them, on a generated
// 12-megapixel photo-like image, each through half of it (the anti-aliased triangles of the
// diagonal split, plus below the diagonal, minus above it); against ImageMagick's
// `convert IN.png -modulate 110 OUT.png` on the same image, whole run of the program.
//
//   adjust_cost [--convert PATH] [--repeat N]
//
// Times are wall-clock, the best of N rounds (3 by default) for both sides. Ours is the sum of
// the eighteen Applies alone: the image is in memory and the selection already rasterised, as in
// the host, where selecting is its own event. Theirs is one whole convert process: start, PNG
// decode, modulate, PNG encode. On a machine shared with other work the CPU times, printed
// beside, are the steadier comparison: ours the thread's, theirs the child process's user and
// system time (all its threads), the mean of the rounds. The peak memory is this process's
// ru_maxrss, read after all rounds and before the PNG for convert is written.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "hostsim/AdjustmentEvents.h"
#include "hostsim/PngWriter.h"

namespace {

using hostsim::AdjustmentEvent;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 4000, kHeight = 3000;

struct Variation {
  const char* name;
  AdjustmentEvent event;
};

hostsim::ColorBalanceEvent Balance(int axis, int amount) {
  hostsim::ColorBalanceEvent event;
  event.midtones[axis] = amount;
  return event;
}

hostsim::PhotoFilterEvent Filter(double r, double g, double b) {
  hostsim::PhotoFilterEvent event;
  event.colour[0] = r, event.colour[1] = g, event.colour[2] = b;
  return event;
}

hostsim::LevelsEvent Gamma(double gamma) {
  return {{{hostsim::ChannelTarget::Composite, 0, 255, gamma, 0, 255}}};
}

std::vector<Variation> ShippedVariations() {
  return {
      {"red_plus", Balance(0, 20)},
      {"red_minus", Balance(0, -20)},
      {"green_plus", Balance(1, 20)},
      {"green_minus", Balance(1, -20)},
      {"blue_plus", Balance(2, 20)},
      {"blue_minus", Balance(2, -20)},
      {"contrast_plus", hostsim::BrightnessContrastEvent{0, 20, false}},
      {"contrast_minus", hostsim::BrightnessContrastEvent{0, -20, false}},
      {"brightness_plus", hostsim::BrightnessContrastEvent{20, 0, false}},
      {"brightness_minus", hostsim::BrightnessContrastEvent{-20, 0, false}},
      {"sat_plus", hostsim::HueSaturationEvent{0, 20, 0, false}},
      {"sat_minus", hostsim::HueSaturationEvent{0, -20, 0, false}},
      {"warm_plus", Filter(236, 138, 0)},
      {"warm_minus", Filter(0, 109, 255)},
      {"extra1_plus", Gamma(1.2)},
      {"extra1_minus", Gamma(1 / 1.2)},
      {"extra2_plus", hostsim::VibranceEvent{25, 0}},
      {"extra2_minus", hostsim::VibranceEvent{-25, 0}},
  };
}

uint8_t Byte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// A landscape with a face: a graded sky, textured hills, a shaded skin-toned ellipse and film
// grain, so that the picture has a photo's tones and a photo's PNG size.
hostsim::Image PhotoLikeImage() {
  hostsim::Image image(kWidth, kHeight);
  uint32_t grain = 12345;
  for (int y = 0; y < kHeight; ++y) {
    const double horizon = 0.55 * kHeight;
    for (int x = 0; x < kWidth; ++x) {
      double rgb[3];
      const double ridge = horizon + 120 * std::sin(x / 310.0) + 45 * std::sin(x / 53.0 + 1.7);
      if (y < ridge) {
        const double t = y / ridge;
        rgb[0] = 60 + 150 * t, rgb[1] = 110 + 110 * t, rgb[2] = 200 + 40 * t;
      } else {
        const double depth = (y - ridge) / (kHeight - ridge);
        const double texture = 18 * std::sin(x / 7.0 + y / 11.0) * std::sin(y / 5.0);
        rgb[0] = 90 - 50 * depth + texture, rgb[1] = 140 - 60 * depth + texture, rgb[2] = 70 - 30 * depth + texture;
      }
      const double fx = (x - 2600.0) / 520, fy = (y - 1300.0) / 700;
      if (fx * fx + fy * fy < 1) {
        const double light = 0.75 + 0.25 * (1 - fx * fx - fy * fy) - 0.15 * fx;
        rgb[0] = 224 * light, rgb[1] = 172 * light, rgb[2] = 140 * light;
      }
      grain = grain * 1664525u + 1013904223u;
      const double noise = static_cast<int>(grain >> 28) - 7.5;
      uint8_t* p = image.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = Byte(rgb[c] + noise);
    }
  }
  return image;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec + now.tv_nsec / 1e9;
}

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double PeakMegabytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss * 1024.0 / 1e6;  // kibibytes on Linux
}

}  // namespace

int main(int argc, char** argv) {
  std::string convert = "convert";
  int repeat = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--convert") == 0 && i + 1 < argc) {
      convert = argv[++i];
    } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
      repeat = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: adjust_cost [--convert PATH] [--repeat N]; bad option '%s'\n", argv[i]);
      return 2;
    }
  }

  hostsim::Image image = PhotoLikeImage();
  const double imageMegabytes = image.rgb.size() / 1e6;
  const std::vector<Variation> variations = ShippedVariations();
  const std::vector<hostsim::Point> below = {{0, 0}, {double(kWidth), double(kHeight)}, {0, double(kHeight)}};
  const std::vector<hostsim::Point> above = {{0, 0}, {double(kWidth), 0}, {double(kWidth), double(kHeight)}};
  hostsim::Selection selection;
  selection.Resize(kWidth, kHeight);

  std::vector<double> best(variations.size(), 1e9);
  double bestRun = 1e9, bestCpu = 1e9, selecting = 0;
  for (int round = 0; round < repeat; ++round) {
    double run = 0, cpu = 0;
    for (size_t i = 0; i < variations.size(); ++i) {
      const Clock::time_point selectStart = Clock::now();
      selection.SetPolygon(i % 2 == 0 ? below : above, true);
      const Clock::time_point start = Clock::now();
      const double cpuStart = ThreadCpuSeconds();
      hostsim::Apply(variations[i].event, selection, image);
      cpu += ThreadCpuSeconds() - cpuStart;
      const Clock::time_point end = Clock::now();
      selecting += Seconds(start - selectStart);
      best[i] = std::min(best[i], Seconds(end - start));
      run += Seconds(end - start);
    }
    bestRun = std::min(bestRun, run);
    bestCpu = std::min(bestCpu, cpu);
  }
  const double peak = PeakMegabytes(RUSAGE_SELF);

  char folder[] = "/tmp/adjust_cost.XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string in = std::string(folder) + "/in.png", out = std::string(folder) + "/out.png";
  if (!hostsim::SavePng(image, in)) {
    std::fprintf(stderr, "cannot write %s\n", in.c_str());
    return 1;
  }
  const std::string command = "'" + convert + "' '" + in + "' -modulate 110 '" + out + "'";
  double bestConvert = 1e9;
  for (int round = 0; round < repeat; ++round) {
    const Clock::time_point start = Clock::now();
    const int status = std::system(command.c_str());
    bestConvert = std::min(bestConvert, Seconds(Clock::now() - start));
    if (status != 0) {
      std::fprintf(stderr, "%s failed with status %d\n", command.c_str(), status);
      return 1;
    }
  }
  const double convertCpu = ChildrenCpuSeconds() / repeat;
  const double convertPeak = PeakMegabytes(RUSAGE_CHILDREN);
  std::remove(in.c_str());
  std::remove(out.c_str());
  rmdir(folder);

  std::printf("| adjustment events, %d x %d, half selected (best of %d) | ms |\n|---|---|\n", kWidth, kHeight, repeat);
  for (size_t i = 0; i < variations.size(); ++i) {
    std::printf("| %s (%s) | %.1f |\n", variations[i].name, hostsim::EventName(variations[i].event), 1000 * best[i]);
  }
  std::printf("| **eighteen Applies** | **%.0f** (CPU %.0f) |\n", 1000 * bestRun, 1000 * bestCpu);
  std::printf("| selecting (18 anti-aliased triangles, not in the Applies) | %.0f |\n", 1000 * selecting / repeat);
  std::printf("| convert in.png -modulate 110 out.png (whole process) | %.0f (CPU %.0f) |\n", 1000 * bestConvert,
              1000 * convertCpu);
  std::printf("| ratio, eighteen Applies / convert (goal <= 1.0) | %.2f (CPU %.2f) |\n", bestRun / bestConvert,
              bestCpu / convertCpu);
  std::printf("| peak memory (ru_maxrss) | %.0f MB = %.1f x the decoded image (%.0f MB); goal <= 4 x |\n", peak,
              peak / imageMegabytes, imageMegabytes);
  std::printf("| convert's peak memory | %.0f MB |\n", convertPeak);
  return 0;
}
