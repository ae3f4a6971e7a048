// What a user waits for: the reference host's whole run on a generated photo, as a user starts it
// (hostsim.exe under Wine, the built-in action set, mode 1, no dialog), against ImageMagick's whole
// `convert IN.png -modulate 110 OUT.png` on the same file, the two taken in turns in one run.
//
//   whole_run --runner WINE-RUN.SH --hostsim HOSTSIM.EXE [--convert PATH] [--repeat N]
//             [--megapixels M]... [--scaling]
//
// Each side's time is the best of N rounds (3 by default) of its whole process, wall-clock. The
// phases are the reference host's own account of its best round (its --timings line): decoding,
// the selections, the adjustments, the thumbnails, the contact sheet and the files; "start" is the
// rest of the process's time (Wine's start, loading the plug-in, reading the action set, exit).
// The peak memory is each process's largest resident size (wait4's ru_maxrss), and the reference
// host's own peak working set. With several --megapixels, or --scaling (0.5, 3, 12 and 48), one
// table row a size shows how the run grows with the image.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/PhotoImage.h"
#include "imaging/PngWriter.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Process {
  bool ok = false;
  double seconds = 0;
  double cpuSeconds = 0;  // user and system, all threads
  double peakMegabytes = 0;
};

// Runs the program with its output into `outputFile`, and waits for it.
Process Run(const std::vector<std::string>& arguments, const std::string& outputFile) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  Process process;
  pid_t pid = 0;
  const Clock::time_point start = Clock::now();
  const int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) {
    std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(spawned));
    return process;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return process;
  process.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  process.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  process.peakMegabytes = usage.ru_maxrss * 1024.0 / 1e6;  // kibibytes on Linux
  process.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!process.ok) std::fprintf(stderr, "%s failed; its output is in %s\n", argv[0], outputFile.c_str());
  return process;
}

// The reference host's --timings line: "timings: decode 1.0 ms, selections 2.0 ms, ...".
struct Phases {
  std::vector<std::pair<std::string, double>> milliseconds;
  double peakWorkingSet = 0;
};

Phases ReadPhases(const std::string& outputFile) {
  std::ifstream in(outputFile);
  std::string line;
  Phases phases;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("timings: ", 0) != 0) continue;
    std::stringstream items(line.substr(9));
    std::string item;
    while (std::getline(items, item, ',')) {
      item.erase(0, item.find_first_not_of(' '));
      const size_t unit = item.find_last_of(' ');
      const size_t number = item.find_last_of(' ', unit - 1);
      if (unit == std::string::npos || number == std::string::npos) continue;
      const double value = std::atof(item.c_str() + number + 1);
      if (item.compare(unit + 1, std::string::npos, "MB") == 0) {
        phases.peakWorkingSet = value;
      } else {
        phases.milliseconds.emplace_back(item.substr(0, number), value);
      }
    }
  }
  return phases;
}

struct Options {
  std::string runner, hostsim, convert = "/usr/bin/convert";
  int repeat = 3;
  std::vector<double> megapixels;
};

struct Measured {
  int width = 0, height = 0;
  double fileMegabytes = 0, imageMegabytes = 0;
  Process ours, theirs;
  Phases phases;
};

bool Measure(const Options& options, double megapixels, const std::string& folder, Measured& measured) {
  measured.width = static_cast<int>(std::lround(std::sqrt(megapixels * 1e6 * 4 / 3)));
  measured.height = static_cast<int>(std::lround(measured.width * 3.0 / 4));
  const std::string in = folder + "/in.png", out = folder + "/out.png", log = folder + "/run.log";
  {
    const hostsim::Image image = bench::PhotoLikeImage(measured.width, measured.height);
    measured.imageMegabytes = image.rgb.size() / 1e6;
    if (!hostsim::SavePng(image, in)) {
      std::fprintf(stderr, "cannot write %s\n", in.c_str());
      return false;
    }
  }
  std::ifstream file(in, std::ios::binary | std::ios::ate);
  measured.fileMegabytes = static_cast<double>(file.tellg()) / 1e6;
  // Wine sees the Linux file system as drive Z:.
  const std::vector<std::string> ours = {options.runner, options.hostsim, "--image", "Z:" + in,
                                         "--out", "Z:" + folder + "/sheet", "--timings"};
  const std::vector<std::string> theirs = {options.convert, in, "-modulate", "110", out};
  measured.ours.seconds = measured.theirs.seconds = 1e9;
  for (int round = 0; round < options.repeat; ++round) {
    const Process a = Run(ours, log);
    if (!a.ok) return false;
    if (a.seconds < measured.ours.seconds) {
      measured.ours = a;
      measured.phases = ReadPhases(log);
    }
    const Process b = Run(theirs, folder + "/convert.log");
    if (!b.ok) return false;
    if (b.seconds < measured.theirs.seconds) measured.theirs = b;
  }
  std::remove(in.c_str());
  std::remove(out.c_str());
  return true;
}

void PrintWholeRun(const Measured& m, int repeat) {
  const double ours = 1000 * m.ours.seconds, theirs = 1000 * m.theirs.seconds;
  std::printf("| whole run, %d x %d photo (PNG, %.0f MB), best of %d | ms | share |\n|---|---|---|\n", m.width,
              m.height, m.fileMegabytes, repeat);
  std::printf("| hostsim.exe --image IN.png (x64, under Wine), whole process | **%.0f** (CPU %.0f) | 100 %% |\n",
              ours, 1000 * m.ours.cpuSeconds);
  double phases = 0;
  for (const auto& phase : m.phases.milliseconds) phases += phase.second;
  std::printf("| - start: Wine, the plug-in loaded, the action set read; exit | %.0f | %.0f %% |\n", ours - phases,
              100 * (ours - phases) / ours);
  for (const auto& phase : m.phases.milliseconds) {
    std::printf("| - %s | %.0f | %.0f %% |\n", phase.first.c_str(), phase.second, 100 * phase.second / ours);
  }
  std::printf("| convert IN.png -modulate 110 OUT.png, whole process | %.0f (CPU %.0f) | |\n", theirs,
              1000 * m.theirs.cpuSeconds);
  std::printf("| **ratio, whole run / convert (goal <= 0.5)** | **%.2f** (CPU %.2f) | |\n", ours / theirs,
              m.ours.cpuSeconds / m.theirs.cpuSeconds);
  std::printf("| peak memory | %.0f MB = %.1f x the decoded image (%.0f MB; goal <= 4 x); its own peak working set "
              "%.0f MB; convert %.0f MB | |\n",
              m.ours.peakMegabytes, m.ours.peakMegabytes / m.imageMegabytes, m.imageMegabytes,
              m.phases.peakWorkingSet, m.theirs.peakMegabytes);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--runner" && hasValue) {
      options.runner = argv[++i];
    } else if (option == "--hostsim" && hasValue) {
      options.hostsim = argv[++i];
    } else if (option == "--convert" && hasValue) {
      options.convert = argv[++i];
    } else if (option == "--repeat" && hasValue && std::atoi(argv[i + 1]) > 0) {
      options.repeat = std::atoi(argv[++i]);
    } else if (option == "--megapixels" && hasValue && std::atof(argv[i + 1]) > 0) {
      options.megapixels.push_back(std::atof(argv[++i]));
    } else if (option == "--scaling") {
      options.megapixels = {0.5, 3, 12, 48};
    } else {
      std::fprintf(stderr, "usage: whole_run --runner WINE-RUN.SH --hostsim HOSTSIM.EXE [--convert PATH] "
                           "[--repeat N] [--megapixels M]... [--scaling]; bad option '%s'\n", argv[i]);
      return 2;
    }
  }
  if (options.runner.empty() || options.hostsim.empty()) {
    std::fprintf(stderr, "whole_run needs --runner and --hostsim\n");
    return 2;
  }
  if (options.megapixels.empty()) options.megapixels = {12};

  char folder[] = "/tmp/whole_run.XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  std::vector<Measured> all;
  for (double megapixels : options.megapixels) {
    Measured measured;
    if (!Measure(options, megapixels, folder, measured)) return 1;
    all.push_back(measured);
  }
  std::filesystem::remove_all(folder);
  if (all.size() == 1) {
    PrintWholeRun(all[0], options.repeat);
    return 0;
  }
  std::printf("| megapixels | hostsim.exe ms (CPU) | ms per megapixel | convert ms (CPU) | ratio (CPU) | peak MB | "
              "x decoded |\n|---|---|---|---|---|---|---|\n");
  for (const Measured& m : all) {
    const double megapixels = double(m.width) * m.height / 1e6;
    std::printf("| %.1f (%d x %d) | %.0f (%.0f) | %.0f | %.0f (%.0f) | %.2f (%.2f) | %.0f | %.1f |\n", megapixels,
                m.width, m.height, 1000 * m.ours.seconds, 1000 * m.ours.cpuSeconds,
                1000 * m.ours.seconds / megapixels, 1000 * m.theirs.seconds, 1000 * m.theirs.cpuSeconds,
                m.ours.seconds / m.theirs.seconds, m.ours.cpuSeconds / m.theirs.cpuSeconds, m.ours.peakMegabytes,
                m.ours.peakMegabytes / m.imageMegabytes);
  }
  return 0;
}
