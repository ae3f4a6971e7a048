// The reference host's pixel work on every core.
#pragma once

#include "RowWorkers.h"

namespace hostsim {

class ThreadedRows : public RowWorkers {
 public:
  // As many workers as the machine has processors; `workers` overrides that when above 0.
  explicit ThreadedRows(int workers = 0);
  // The rows are cut into several bands a worker, which the workers take in turn as they finish
  // (the rows of a selection's edge take longer than the rows outside it). Worker 0 is the
  // calling thread, each other one a thread started for the call; when a thread cannot be
  // started, the workers that did start take its bands.
  void Split(int top, int bottom, const Work& work) const override;
  int Workers() const override { return workers_; }

 private:
  int workers_;
};

}  // namespace hostsim
