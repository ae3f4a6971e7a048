// Reading and writing the binary action file (version 16, big-endian, no padding, no record
// lengths).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "actions/ActionModel.h"

namespace zem::actions {

// The first problem found in a file: where it is and what was being read.
struct ReadError {
  size_t offset = 0;
  std::string message;  // "byte 1234: the name of action 3: ..."
};

// Nested descriptors and lists deeper than this are refused, so that no file can exhaust the
// stack; Photoshop's own descriptors nest a handful of levels.
constexpr int kMaxNesting = 64;

// Reads a whole action file. Every count and length is checked against the bytes left before it
// is used, nothing is allocated ahead of the bytes that fill it, and the file must end right after
// its last action. Returns false with the first problem in `error`; `set` is then left as it was.
bool ReadActionFile(const uint8_t* bytes, size_t size, ActionSet& set, ReadError& error);

// The file's bytes, exactly as Photoshop lays them out.
std::vector<uint8_t> WriteActionFile(const ActionSet& set);

}  // namespace zem::actions
