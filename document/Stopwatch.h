// Time measured for the reference host's account of where a run's time goes.
#pragma once

#include <chrono>

namespace hostsim {

// Adds the time from its construction to its end to `total`, in seconds.
class Stopwatch {
 public:
  explicit Stopwatch(double& total) : total_(total), start_(std::chrono::steady_clock::now()) {}
  ~Stopwatch() { total_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }
  Stopwatch(const Stopwatch&) = delete;
  Stopwatch& operator=(const Stopwatch&) = delete;

 private:
  double& total_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace hostsim
