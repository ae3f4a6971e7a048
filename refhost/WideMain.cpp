// The program's entry for toolchains whose C runtime cannot start a program at wmain (Zig's
// ignores -municode): the arguments taken from the wide command line, as the user has them, and
// handed to wmain.
#include <windows.h>
#include <shellapi.h>

#include <memory>

int wmain(int argc, wchar_t** argv);

namespace {

struct LocalDeleter {
  void operator()(wchar_t** arguments) const { LocalFree(arguments); }
};

}  // namespace

int main() {
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalDeleter> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!arguments) return 1;
  return wmain(count, arguments.get());
}
