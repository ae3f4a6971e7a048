#include "tests/support/CallBudget.h"

namespace bench {
namespace {

using hostsim::Op;

// One event's calls, as its sequence prescribes.
struct EventCost {
  int makes, puts, plays, frees;
};

// Event descriptor and selection reference made; the reference's property, the reference and the
// enumeration put; played; the result, the event and the reference freed.
constexpr EventCost kClearSelection{2, 3, 1, 3};
// As above with a rectangle descriptor of four unit floats, put as an object and freed.
constexpr EventCost kRectangle{3, 2 + 4 + 1, 1, 4};
// Polygon descriptor, list and four points made; two unit floats per point, the points into the
// list, the list, the polygon and 'AntA' put; all of them freed.
constexpr EventCost kPolygon{2 + 1 + 1 + 4, 2 + 8 + 4 + 1 + 1 + 1, 1, 4 + 1 + 1 + 3};
// Event descriptor and reference made; two names and the reference put; played; three freed.
constexpr EventCost kPlay{2, 3, 1, 3};

void Add(CallCounts& counts, const EventCost& cost, int times = 1) {
  counts[CallKind::Makes] += cost.makes * times;
  counts[CallKind::Puts] += cost.puts * times;
  counts[CallKind::Plays] += cost.plays * times;
  counts[CallKind::Frees] += cost.frees * times;
}

bool IsPolygonMode(int32_t mode) { return mode == 1 || mode == 6 || mode == 7; }

int RectanglesOf(int32_t mode) {
  switch (mode) {
    case 2:
    case 3: return 1;
    case 4: return 2;
    case 5: return 4;
    default: return 0;
  }
}

}  // namespace

const char* CallKindName(CallKind kind) {
  static const char* const names[] = {"acquisitions", "releases", "comparisons", "property queries",
                                      "makes",        "puts",     "gets",        "frees",
                                      "plays",        "allocations", "other",       "history suspensions"};
  return names[static_cast<int>(kind)];
}

CallKind KindOf(Op op) {
  switch (op) {
    case Op::AcquireSuite: return CallKind::Acquisitions;
    case Op::ReleaseSuite: return CallKind::Releases;
    case Op::IsEqual: return CallKind::Comparisons;
    case Op::GetProperty: return CallKind::PropertyQueries;
    case Op::DescriptorMake:
    case Op::ReferenceMake:
    case Op::ListMake:
    case Op::HandleNew: return CallKind::Makes;
    case Op::DescriptorPutInteger:
    case Op::DescriptorPutUnitFloat:
    case Op::DescriptorPutBoolean:
    case Op::DescriptorPutList:
    case Op::DescriptorPutObject:
    case Op::DescriptorPutEnumerated:
    case Op::DescriptorPutReference:
    case Op::DescriptorPutAlias:
    case Op::ReferencePutName:
    case Op::ReferencePutEnumerated:
    case Op::ReferencePutProperty:
    case Op::ListPutObject: return CallKind::Puts;
    case Op::DescriptorGetInteger:
    case Op::GetPluginName:
    case Op::MainAppWindow:
    case Op::ControlGet: return CallKind::Gets;
    case Op::DescriptorFree:
    case Op::ReferenceFree:
    case Op::ListFree:
    case Op::ZStringRelease:
    case Op::FreeBlock:
    case Op::HandleDispose: return CallKind::Frees;
    case Op::Play: return CallKind::Plays;
    case Op::SuspendHistory: return CallKind::HistorySuspensions;
    case Op::AllocateBlock:
    case Op::ReallocateBlock: return CallKind::Allocations;
    default: return CallKind::Other;
  }
}

int CallCounts::Total() const {
  int total = 0;
  for (int count : byKind) total += count;
  return total;
}

CallCounts CountedCalls(const hostsim::FaultInjector& calls) {
  CallCounts counts;
  for (int op = 0; op < hostsim::kOpCount; ++op) counts[KindOf(static_cast<Op>(op))] += calls.Calls(static_cast<Op>(op));
  return counts;
}

CallCounts MinimumCalls(int32_t mode, bool withDescriptor, bool oneHistoryState) {
  constexpr int kVariations = 18;
  CallCounts counts;
  // Reference, UI hooks, ZString, descriptor, property and control suites, and the list suite
  // for polygons: each acquired once and released once.
  const int suites = 6 + (IsPolygonMode(mode) ? 1 : 0);
  // Without version 3 of the action control suite, its refusal is asked for once more.
  counts[CallKind::Acquisitions] = suites + (oneHistoryState ? 0 : 1);
  counts[CallKind::Releases] = suites;
  // The whole run inside one SuspendHistory, where the host has it.
  counts[CallKind::HistorySuspensions] = oneHistoryState ? 1 : 0;
  // The caller against "SP Interface", then against "Photoshop", then the selector.
  counts[CallKind::Comparisons] = 3;

  // The call itself: the target reference made, filled and freed; the plug-in's name got and
  // released; the mode read from a given descriptor, which is freed when the new one holding the
  // mode is made and filled.
  counts[CallKind::Makes] += 2;
  counts[CallKind::Puts] += 2;
  counts[CallKind::Gets] += withDescriptor ? 2 : 1;
  counts[CallKind::Frees] += withDescriptor ? 3 : 2;

  // Before a run as one history state, whether the action set is loaded: a reference made and
  // named, the Get, and the found set's descriptor and the reference freed. Without version 3 the
  // set is asked for only when its first play fails.
  if (oneHistoryState) {
    counts[CallKind::Makes] += 1;
    counts[CallKind::Puts] += 1;
    counts[CallKind::Gets] += 1;
    counts[CallKind::Frees] += 2;
  }

  // Every variation: its region step (height, width, clearing, shapes), then its play; the
  // selection cleared once more at the end.
  counts[CallKind::PropertyQueries] = 2 * kVariations;
  Add(counts, kClearSelection, kVariations + 1);
  if (IsPolygonMode(mode)) Add(counts, kPolygon, kVariations);
  Add(counts, kRectangle, RectanglesOf(mode) * kVariations);
  Add(counts, kPlay, kVariations);
  return counts;
}

}  // namespace bench
