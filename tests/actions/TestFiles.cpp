#include "tests/actions/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "actions/TextForm.h"

namespace zem::actions::testing {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  const std::string text = ReadText(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string PhotoshopWritten(const std::string& name) {
  const std::string path = std::string(ZEM_TESTDATA_DIR) + "/photoshop-written/" + name;
  return std::ifstream(path, std::ios::binary) ? path : std::string();
}

std::string FuzzFinding(const std::string& name) {
  const std::string path = std::string(ZEM_TESTDATA_DIR) + "/fuzz-findings/" + name;
  return std::ifstream(path, std::ios::binary) ? path : std::string();
}

ActionSet FromText(const std::string& text) {
  ActionSet set;
  TextError error;
  EXPECT_TRUE(ReadActionText(text, set, error)) << error.message;
  return set;
}

}  // namespace zem::actions::testing
