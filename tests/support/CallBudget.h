// What one "Do It" costs in host calls, by kind, and the least that its behaviour requires:
// every call the plug-in's sequences prescribe, each suite acquired once, nothing allocated.
#pragma once

#include <cstdint>
#include <string>

#include "hostsim/FaultInjector.h"

namespace bench {

enum class CallKind {
  Acquisitions,
  Releases,
  Comparisons,  // the basic suite's IsEqual
  PropertyQueries,
  Makes,
  Puts,
  Gets,
  Frees,
  Plays,
  Allocations,  // AllocateBlock and ReallocateBlock
  Other,
  HistorySuspensions,  // SuspendHistory, which the run is played inside
};
constexpr int kCallKindCount = 12;

const char* CallKindName(CallKind kind);
CallKind KindOf(hostsim::Op op);

struct CallCounts {
  int byKind[kCallKindCount] = {};
  int Total() const;
  int& operator[](CallKind kind) { return byKind[static_cast<int>(kind)]; }
  int operator[](CallKind kind) const { return byKind[static_cast<int>(kind)]; }
};

// The calls a finished injector counted, by kind.
CallCounts CountedCalls(const hostsim::FaultInjector& calls);

// The least a complete run needs in `mode`, given a descriptor holding the mode or none, played
// as one history state (a host with version 3 of the action control suite) or not.
CallCounts MinimumCalls(int32_t mode, bool withDescriptor, bool oneHistoryState = true);

}  // namespace bench
