#include "hostsim/FaultInjector.h"

namespace hostsim {

const char* OpName(Op op) {
  static const char* const names[] = {
#define HOSTSIM_NAME(name) #name,
      HOSTSIM_OPERATIONS(HOSTSIM_NAME)
#undef HOSTSIM_NAME
  };
  return names[static_cast<int>(op)];
}

bool IsReleaseOp(Op op) {
  return op == Op::ReleaseSuite || op == Op::FreeBlock || op == Op::DescriptorFree || op == Op::ReferenceFree ||
         op == Op::ListFree || op == Op::ZStringRelease || op == Op::HandleDispose;
}

void FaultInjector::FailCall(int k, int32_t code) { faults_.push_back({true, Op::AcquireSuite, k, code}); }

void FaultInjector::FailOperation(Op op, int k, int32_t code) { faults_.push_back({false, op, k, code}); }

void FaultInjector::Clear() {
  faults_.clear();
  ResetCounts();
}

void FaultInjector::ResetCounts() {
  trace_.clear();
  total_ = 0;
  for (int& count : perOp_) count = 0;
  fired_ = 0;
}

int32_t FaultInjector::OnCall(Op op) {
  ++total_;
  int ofOp = ++perOp_[static_cast<int>(op)];
  trace_.push_back(op);
  for (const Fault& fault : faults_) {
    bool hit = fault.anyOp ? fault.k == total_ : (fault.op == op && fault.k == ofOp);
    if (hit) {
      ++fired_;
      return fault.code;
    }
  }
  return 0;
}

}  // namespace hostsim
