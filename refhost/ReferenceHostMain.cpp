// hostsim.exe: the reference host's command line. Its arguments arrive in UTF-16 and are passed on
// as UTF-8, the encoding of every path and message inside; what it prints is UTF-8, and a console
// is switched to show UTF-8 for as long as the program runs.
#include <windows.h>

#include <exception>
#include <iostream>

#include "imaging/WindowsText.h"
#include "refhost/ReferenceHost.h"

namespace {

class Utf8Console {
 public:
  Utf8Console() : previous_(GetConsoleOutputCP()) {
    // 0 without a console: output to a file or a pipe is UTF-8 as it stands.
    if (previous_ != 0 && previous_ != CP_UTF8) SetConsoleOutputCP(CP_UTF8);
  }
  ~Utf8Console() {
    if (previous_ != 0 && previous_ != CP_UTF8) SetConsoleOutputCP(previous_);
  }
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  UINT previous_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Utf8Console console;
  try {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(hostsim::Utf8FromUtf16(argv[i]));
    return hostsim::RunReferenceHost(arguments, std::cout, std::cerr);
  } catch (const std::exception& failure) {
    std::cerr << "hostsim: " << failure.what() << "\n";
  } catch (...) {
    std::cerr << "hostsim: unexpected failure\n";
  }
  return 1;
}
