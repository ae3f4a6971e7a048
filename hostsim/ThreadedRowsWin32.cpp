// Threads through the Windows API itself: MinGW-w64's win32 thread model, which the cross builds
// use, has no std::thread.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "ThreadedRows.h"

namespace hostsim {
namespace {

// The bands of one Split, taken in turn by the workers.
struct Bands {
  const RowWorkers::Work* work;
  int top, rows, count;
  volatile LONG next;
};

struct Worker {
  Bands* bands;
  int index;
};

DWORD WINAPI RunWorker(void* parameter) {
  const Worker& worker = *static_cast<const Worker*>(parameter);
  Bands& bands = *worker.bands;
  for (LONG band; (band = InterlockedIncrement(&bands.next) - 1) < bands.count;) {
    const int first = bands.top + static_cast<int>(int64_t(bands.rows) * band / bands.count);
    const int last = bands.top + static_cast<int>(int64_t(bands.rows) * (band + 1) / bands.count);
    (*bands.work)(worker.index, first, last);
  }
  return 0;
}

int Processors() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return std::max(1, static_cast<int>(info.dwNumberOfProcessors));
}

// A thread that is waited for and closed when its scope ends, on every path.
class WorkerThread {
 public:
  explicit WorkerThread(Worker* worker) : handle_(CreateThread(nullptr, 0, RunWorker, worker, 0, nullptr)) {}
  ~WorkerThread() {
    if (handle_ != nullptr) {
      WaitForSingleObject(handle_, INFINITE);
      CloseHandle(handle_);
    }
  }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace

ThreadedRows::ThreadedRows(int workers) : workers_(workers > 0 ? workers : Processors()) {}

void ThreadedRows::Split(int top, int bottom, const Work& work) const {
  const int rows = bottom - top;
  if (rows <= 0) return;
  // Bands of at least 16 rows, since a band costs a little to hand out, and eight a worker.
  const int count = std::max(1, std::min(workers_ * 8, rows / 16));
  const int workers = std::min(workers_, count);
  Bands bands{&work, top, rows, count, 0};
  std::vector<Worker> plan;
  for (int i = 0; i < workers; ++i) plan.push_back({&bands, i});
  std::vector<std::unique_ptr<WorkerThread>> threads;
  try {
    threads.reserve(plan.size());
    for (size_t i = 1; i < plan.size(); ++i) threads.push_back(std::make_unique<WorkerThread>(&plan[i]));
  } catch (const std::bad_alloc&) {
    // The workers already started, and this thread, take the bands of those that are not.
  }
  RunWorker(&plan[0]);
}

}  // namespace hostsim
