// The reference host's pixel work on every core.
#pragma once

#include <memory>

#include "document/RowWorkers.h"

namespace hostsim {

class ThreadedRows : public RowWorkers {
 public:
  // As many workers as the machine has processors (`workers` instead, when above 0): the calling
  // thread and threads started now, which wait for work until the object is destroyed. Fewer when
  // a thread cannot be started.
  explicit ThreadedRows(int workers = 0);
  ~ThreadedRows() override;
  ThreadedRows(const ThreadedRows&) = delete;
  ThreadedRows& operator=(const ThreadedRows&) = delete;

  // The rows are cut into several bands a worker, which the workers take in turn as they finish
  // (the rows along a selection's edge take longer than the rows outside it). One Split at a time.
  void Split(int top, int bottom, const Work& work) const override;
  int Workers() const override;

 private:
  struct Pool;
  std::unique_ptr<Pool> pool_;
};

}  // namespace hostsim
