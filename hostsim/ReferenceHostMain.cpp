// hostsim.exe: the reference host's command line.
#include <exception>
#include <iostream>

#include "ReferenceHost.h"

int main(int argc, char** argv) {
  try {
    return hostsim::RunReferenceHost(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  } catch (const std::exception& failure) {
    std::cerr << "hostsim: " << failure.what() << "\n";
  } catch (...) {
    std::cerr << "hostsim: unexpected failure\n";
  }
  return 1;
}
