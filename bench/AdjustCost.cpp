// What the reference host's adjustment events cost on a real photo's size: the eighteen
// variations of one run, one event each as the shipped action set has them, on a generated
// 12-megapixel photo-like image, each through half of it (the anti-aliased triangles of the
// diagonal split, plus below the diagonal, minus above it); against ImageMagick's
// `convert IN.png -modulate 110 OUT.png` on the same image, whole run of the program.
//
//   adjust_cost [--convert PATH | --no-convert] [--repeat N] [--megapixels M]
//
// It also times the pixel work around the adjustments as the reference host does it: the
// selections, a thumbnail after each action and the contact sheet drawn and encoded; with
// --no-convert it prints only those and stops (for instruction counts under callgrind, where a
// smaller --megapixels keeps the run short).
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

#include "bench/PhotoImage.h"
#include "document/AdjustmentEvents.h"
#include "document/Stopwatch.h"
#include "imaging/PngWriter.h"
#include "refhost/ContactSheet.h"

namespace {

using hostsim::AdjustmentEvent;
using Clock = std::chrono::steady_clock;


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
  int width = 4000, height = 3000;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--convert") == 0 && i + 1 < argc) {
      convert = argv[++i];
    } else if (std::strcmp(argv[i], "--megapixels") == 0 && i + 1 < argc && std::atof(argv[i + 1]) > 0) {
      const double megapixels = std::atof(argv[++i]);
      width = static_cast<int>(std::lround(std::sqrt(megapixels * 1e6 * 4 / 3)));
      height = width * 3 / 4;
    } else if (std::strcmp(argv[i], "--no-convert") == 0) {
      convert.clear();
    } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
      repeat = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr,
                   "usage: adjust_cost [--convert PATH | --no-convert] [--repeat N] [--megapixels M]; "
                   "bad option '%s'\n",
                   argv[i]);
      return 2;
    }
  }

  hostsim::Image image = bench::PhotoLikeImage(width, height);
  const double imageMegabytes = image.rgb.size() / 1e6;
  const std::vector<Variation> variations = ShippedVariations();
  const std::vector<hostsim::Point> below = {{0, 0}, {double(width), double(height)}, {0, double(height)}};
  const std::vector<hostsim::Point> above = {{0, 0}, {double(width), 0}, {double(width), double(height)}};
  hostsim::Selection selection;
  selection.Resize(width, height);

  std::vector<double> best(variations.size(), 1e9);
  double bestRun = 1e9, bestCpu = 1e9, selecting = 0, thumbnails = 0, sheet = 0;
  for (int round = 0; round < repeat; ++round) {
    double run = 0, cpu = 0;
    std::vector<hostsim::Tile> tiles;
    {
      hostsim::Stopwatch stopwatch(thumbnails);
      tiles.push_back({"original", "", hostsim::Thumbnail(image, hostsim::kTileWidth)});
    }
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
      hostsim::Stopwatch stopwatch(thumbnails);
      tiles.push_back({variations[i].name, "", hostsim::Thumbnail(image, hostsim::kTileWidth)});
    }
    hostsim::Stopwatch stopwatch(sheet);
    if (hostsim::EncodePng(hostsim::ContactSheet("whole run", tiles)).empty()) return 1;
    bestRun = std::min(bestRun, run);
    bestCpu = std::min(bestCpu, cpu);
  }
  const double peak = PeakMegabytes(RUSAGE_SELF);
  // The pixel work around the adjustments, in the table's own rows.
  const auto printAround = [&] {
    std::printf("| selecting (18 anti-aliased triangles, not in the Applies), mean | %.0f |\n",
                1000 * selecting / repeat);
    std::printf("| thumbnails (19, not in the Applies), mean | %.0f |\n", 1000 * thumbnails / repeat);
    std::printf("| contact sheet drawn and encoded, mean | %.0f |\n", 1000 * sheet / repeat);
  };
  if (convert.empty()) {
    std::printf("| pixel work around the adjustments, %d x %d, on one thread | ms |\n|---|---|\n", width, height);
    printAround();
    return 0;
  }

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

  std::printf("| adjustment events, %d x %d, half selected, on one thread (best of %d) | ms |\n|---|---|\n", width,
              height, repeat);
  for (size_t i = 0; i < variations.size(); ++i) {
    std::printf("| %s (%s) | %.1f |\n", variations[i].name, hostsim::EventName(variations[i].event), 1000 * best[i]);
  }
  std::printf("| **eighteen Applies** | **%.0f** (CPU %.0f) |\n", 1000 * bestRun, 1000 * bestCpu);
  printAround();
  std::printf("| convert in.png -modulate 110 out.png (whole process) | %.0f (CPU %.0f) |\n", 1000 * bestConvert,
              1000 * convertCpu);
  std::printf("| ratio, eighteen Applies / convert (goal <= 1.0) | %.2f (CPU %.2f) |\n", bestRun / bestConvert,
              bestCpu / convertCpu);
  std::printf("| peak memory (ru_maxrss) | %.0f MB = %.1f x the decoded image (%.0f MB); goal <= 4 x |\n", peak,
              peak / imageMegabytes, imageMegabytes);
  std::printf("| convert's peak memory | %.0f MB |\n", convertPeak);
  return 0;
}
