// Threads through the Windows API itself: MinGW-w64's win32 thread model, which the cross builds
// use, has no std::thread. The threads are started once and wait for each Split, since starting a
// thread costs milliseconds under Wine, more than many a Split's work.
#include <windows.h>

#include <algorithm>
#include <cfenv>
#include <cstdint>
#include <vector>

#include "platform/WindowsHandles.h"
#include "refhost/ThreadedRows.h"

namespace hostsim {
namespace {

// The bands of one Split, taken in turn by the workers.
struct Bands {
  const RowWorkers::Work* work = nullptr;
  int top = 0, rows = 0, count = 0;
  volatile LONG next = 0;
};

void RunBands(Bands& bands, int worker) {
  for (LONG band; (band = InterlockedIncrement(&bands.next) - 1) < bands.count;) {
    const int first = bands.top + static_cast<int>(int64_t(bands.rows) * band / bands.count);
    const int last = bands.top + static_cast<int>(int64_t(bands.rows) * (band + 1) / bands.count);
    (*bands.work)(worker, first, last);
  }
}

int Processors() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  // A Split waits for all its threads at once, and a wait takes at most 64 handles.
  return std::min(MAXIMUM_WAIT_OBJECTS, std::max(1, static_cast<int>(info.dwNumberOfProcessors)));
}

}  // namespace

struct ThreadedRows::Pool {
  // One started thread: woken by `start`, it runs the current bands and signals `done`.
  struct Thread {
    Pool* pool;
    int worker;
    zem::UniqueKernelObject start, done, thread;
  };

  static DWORD WINAPI Run(void* parameter) {
    Thread& self = *static_cast<Thread*>(parameter);
    fesetenv(&self.pool->environment);
    for (;;) {
      WaitForSingleObject(self.start.get(), INFINITE);
      if (self.pool->stopping) return 0;
      RunBands(*self.pool->bands, self.worker);
      SetEvent(self.done.get());
    }
  }

  explicit Pool(int workers) {
    // The threads compute as the thread that makes the pool does. On x86 the x87 unit's precision
    // is a setting of each thread: MinGW's start-up gives the main thread 64 bits, Windows gives a
    // new thread 53, and the same float arithmetic would round differently on the two.
    fegetenv(&environment);
    threads.reserve(static_cast<size_t>(workers - 1));
    for (int i = 1; i < workers; ++i) {
      zem::UniqueKernelObject start(CreateEventW(nullptr, FALSE, FALSE, nullptr));
      zem::UniqueKernelObject done(CreateEventW(nullptr, FALSE, FALSE, nullptr));
      if (!start || !done) break;
      threads.push_back(Thread{this, i, std::move(start), std::move(done), zem::UniqueKernelObject()});
      Thread& thread = threads.back();
      thread.thread.reset(CreateThread(nullptr, 0, Run, &thread, 0, nullptr));
      if (!thread.thread) {
        threads.pop_back();
        break;
      }
    }
  }

  ~Pool() {
    stopping = true;
    std::vector<HANDLE> running;
    for (Thread& thread : threads) {
      SetEvent(thread.start.get());
      running.push_back(thread.thread.get());
    }
    if (!running.empty()) WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), TRUE, INFINITE);
  }

  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

  std::vector<Thread> threads;  // reserved up front: the threads hold pointers into it
  std::vector<HANDLE> done;
  Bands* bands = nullptr;
  std::fenv_t environment{};
  volatile bool stopping = false;
};

ThreadedRows::ThreadedRows(int workers)
    : pool_(new Pool(workers > 0 ? std::min(workers, MAXIMUM_WAIT_OBJECTS) : Processors())) {
  for (Pool::Thread& thread : pool_->threads) pool_->done.push_back(thread.done.get());
}

ThreadedRows::~ThreadedRows() = default;

int ThreadedRows::Workers() const { return static_cast<int>(pool_->threads.size()) + 1; }

void ThreadedRows::Split(int top, int bottom, const Work& work) const {
  const int rows = bottom - top;
  if (rows <= 0) return;
  // Bands of at least 16 rows, since a band costs a little to hand out, and eight a worker.
  Bands bands;
  bands.work = &work, bands.top = top, bands.rows = rows;
  bands.count = std::max(1, std::min(Workers() * 8, rows / 16));
  // The workers beyond the bands' count would find nothing to do: they are not woken.
  const size_t helpers = std::min(pool_->threads.size(), static_cast<size_t>(bands.count - 1));
  pool_->bands = &bands;
  for (size_t i = 0; i < helpers; ++i) SetEvent(pool_->threads[i].start.get());
  RunBands(bands, 0);
  if (helpers > 0) WaitForMultipleObjects(static_cast<DWORD>(helpers), pool_->done.data(), TRUE, INFINITE);
}

}  // namespace hostsim
