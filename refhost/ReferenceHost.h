// The reference host: loads the built plug-in and runs it on a real image, as Photoshop would,
// with the host model serving every suite. Windows only.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace hostsim {

// Runs with the command line's arguments, the program's name left out, in UTF-8 like every path
// and message here. Progress and the summary go to `out`, problems to `err`. Returns the exit code: 0 on success, 2 for a bad command line,
// 1 for anything else that went wrong; nothing is written unless the run succeeded.
int RunReferenceHost(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// What the host's and the plug-in's result codes mean, for messages.
std::string ResultMeaning(int32_t code);

}  // namespace hostsim
