// atn: converts an action file to its text form and back.
//   atn to-text FILE.atn [OUT.txt]      (the text goes to standard output without OUT.txt)
//   atn from-text FILE.txt OUT.atn
// A file that cannot be read gets one message naming it and the byte or line of the problem, a
// nonzero exit, and nothing is written.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "actions/BinaryFormat.h"
#include "actions/TextForm.h"

namespace {

using namespace zem::actions;

bool ReadWholeFile(const std::string& path, std::string& contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  contents = buffer.str();
  return !in.bad();
}

// Writes beside the target and renames, so that a failed write leaves no partial file.
bool WriteWholeFile(const std::string& path, const std::string& contents) {
  const std::string temporary = path + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), std::streamsize(contents.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::remove(path.c_str());
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

int Fail(const std::string& message) {
  std::cerr << "atn: " << message << "\n";
  return 1;
}

int Usage() {
  std::cerr << "usage: atn to-text FILE.atn [OUT.txt]\n"
               "       atn from-text FILE.txt OUT.atn\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::string input = argv[2];
  std::string contents;
  if (command == "to-text" && argc <= 4) {
    if (!ReadWholeFile(input, contents)) return Fail("cannot read " + input);
    ActionSet set;
    ReadError error;
    if (!ReadActionFile(reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), set, error)) {
      return Fail(input + ", " + error.message);
    }
    const std::string text = WriteActionText(set);
    if (argc == 3) {
      std::cout << text;
      return std::cout.flush() ? 0 : 1;
    }
    return WriteWholeFile(argv[3], text) ? 0 : Fail(std::string("cannot write ") + argv[3]);
  }
  if (command == "from-text" && argc == 4) {
    if (!ReadWholeFile(input, contents)) return Fail("cannot read " + input);
    ActionSet set;
    TextError error;
    if (!ReadActionText(contents, set, error)) return Fail(input + ", " + error.message);
    const std::vector<uint8_t> bytes = WriteActionFile(set);
    if (!WriteWholeFile(argv[3], std::string(bytes.begin(), bytes.end()))) {
      return Fail(std::string("cannot write ") + argv[3]);
    }
    return 0;
  }
  return Usage();
}
