// Counts host calls and makes chosen ones fail: the k-th call of all, or the k-th call of one
// operation, with a given code.
#pragma once

#include <cstdint>
#include <vector>

#include "hostsim/Operations.h"

namespace hostsim {

class FaultInjector {
 public:
  // k counts from 1.
  void FailCall(int k, int32_t code);
  void FailOperation(Op op, int k, int32_t code);
  void Clear();

  // Counts one call of op; returns the code to fail it with, or 0.
  int32_t OnCall(Op op);

  int TotalCalls() const { return total_; }
  int Calls(Op op) const { return perOp_[static_cast<int>(op)]; }
  // The operation of every call so far, in order.
  const std::vector<Op>& Trace() const { return trace_; }
  // How many injected faults have fired.
  int Fired() const { return fired_; }
  void ResetCounts();

 private:
  struct Fault {
    bool anyOp;
    Op op;
    int k;
    int32_t code;
  };

  std::vector<Fault> faults_;
  std::vector<Op> trace_;
  int total_ = 0;
  int perOp_[kOpCount] = {};
  int fired_ = 0;
};

}  // namespace hostsim
