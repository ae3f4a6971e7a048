// The reference host's threads: every row in exactly one band, each band run by a worker that
// exists, the threads of the pool reused from one Split to the next, and the pixel work the same as
// on one thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <vector>

#include "document/AdjustmentEvents.h"
#include "document/Thumbnail.h"
#include "refhost/ThreadedRows.h"

namespace {

using hostsim::ThreadedRows;

TEST(ThreadedRowsTest, EveryRowOnceByAWorkerThatExists) {
  const ThreadedRows workers(4);
  ASSERT_GE(workers.Workers(), 1);
  ASSERT_LE(workers.Workers(), 4);
  for (const auto& range : std::vector<std::pair<int, int>>{{0, 3000}, {17, 18}, {5, 40}, {100, 100}, {-8, 999}}) {
    std::vector<LONG> visits(static_cast<size_t>(range.second - range.first + 1), 0);
    volatile LONG badWorker = 0;
    workers.Split(range.first, range.second, [&](int worker, int first, int last) {
      if (worker < 0 || worker >= workers.Workers() || first < range.first || last > range.second) {
        InterlockedIncrement(&badWorker);
      }
      for (int y = first; y < last; ++y) InterlockedIncrement(&visits[static_cast<size_t>(y - range.first)]);
    });
    EXPECT_EQ(badWorker, 0);
    for (int y = range.first; y < range.second; ++y) {
      ASSERT_EQ(visits[static_cast<size_t>(y - range.first)], 1) << "row " << y;
    }
  }
}

TEST(ThreadedRowsTest, ThePoolsThreadsShareTheWorkAndAreReused) {
  const ThreadedRows workers(2);
  if (workers.Workers() < 2) GTEST_SKIP() << "no second thread could be started";
  std::set<DWORD> threads;
  for (int round = 0; round < 5; ++round) {
    std::vector<DWORD> seen(2, 0);
    workers.Split(0, 4000, [&](int worker, int, int) {
      seen[static_cast<size_t>(worker)] = GetCurrentThreadId();
      Sleep(1);  // long enough that one worker cannot take every band before the other starts
    });
    EXPECT_NE(seen[1], 0u) << "the second worker took no band";
    EXPECT_NE(seen[1], GetCurrentThreadId());
    threads.insert(seen[1]);
  }
  EXPECT_EQ(threads.size(), 1u) << "each Split started a thread of its own";
}

TEST(ThreadedRowsTest, PixelWorkIsTheSameAsOnOneThread) {
  const ThreadedRows workers;
  hostsim::Image serial(1200, 900), threaded(1200, 900);
  uint32_t seed = 3;
  for (size_t i = 0; i < serial.rgb.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    serial.rgb[i] = threaded.rgb[i] = static_cast<uint8_t>(seed >> 24);
  }
  hostsim::Selection one, many;
  one.Resize(1200, 900), many.Resize(1200, 900);
  const std::vector<hostsim::Point> half = {{0, 0}, {1200, 900}, {0, 900}};
  one.SetPolygon(half, true);
  many.SetPolygon(half, true, workers);
  ASSERT_EQ(many.Bounds().bottom, one.Bounds().bottom);
  for (int y = 0; y < 900; y += 7) {
    for (int x = 0; x < 1200; x += 3) ASSERT_EQ(many.At(x, y), one.At(x, y)) << x << ", " << y;
  }
  hostsim::Apply(hostsim::VibranceEvent{25, 0}, one, serial);
  hostsim::Apply(hostsim::VibranceEvent{25, 0}, many, threaded, workers);
  EXPECT_EQ(threaded.rgb, serial.rgb);
  EXPECT_EQ(hostsim::Thumbnail(threaded, 240, workers).rgb, hostsim::Thumbnail(serial, 240).rgb);
}

}  // namespace
