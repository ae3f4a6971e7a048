// Pixel work split into bands of rows, for hosts that have more than one core to give it. The host
// model runs every band on the calling thread; the reference host hands them to threads of its
// own (ThreadedRows). The plug-in never sees either: it starts no threads.
#pragma once

#include <functional>

namespace hostsim {

class RowWorkers {
 public:
  virtual ~RowWorkers() = default;
  // Calls `work(worker, first, last)` for disjoint bands [first, last) that together make
  // [top, bottom), and returns when every band is done. `worker`, below Workers(), tells which
  // worker runs the band: one worker runs its bands one after the other, so that scratch space
  // kept per worker is never shared. `work` must not throw (nothing may unwind out of a thread),
  // and bands must not write to the same memory.
  using Work = std::function<void(int worker, int first, int last)>;
  virtual void Split(int top, int bottom, const Work& work) const;
  virtual int Workers() const { return 1; }
};

// Every band on the calling thread, one after the other: what the host model does.
const RowWorkers& SerialRows();

}  // namespace hostsim
