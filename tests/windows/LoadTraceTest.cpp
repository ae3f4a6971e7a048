// The module's loader entry traces every notification to C:\LoadLogTextFormat.txt.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "platform/WindowsHandles.h"
#include "tests/windows/LoadedModule.h"

namespace {

const char kTracePath[] = "C:\\LoadLogTextFormat.txt";

std::string ReadTrace() {
  std::string text;
  if (const zem::UniqueStdioFile file{std::fopen(kTracePath, "rb")}) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, n);
  }
  return text;
}

DWORD WINAPI DoNothing(LPVOID) { return 0; }

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
  return lines;
}

TEST(LoadTraceTest, LoadThreadAndUnloadAppendFourLines) {
  const std::string before = ReadTrace();
  {
    LoadedModule module;
    ASSERT_NE(module.handle(), nullptr);
    zem::UniqueKernelObject thread(CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    WaitForSingleObject(thread.get(), INFINITE);
  }
  const std::string after = ReadTrace();
  ASSERT_EQ(after.compare(0, before.size(), before), 0) << "the file is appended to, never rewritten";
  std::vector<std::string> lines = LinesOf(after.substr(before.size()));
  ASSERT_EQ(lines.size(), 4u);
  const char* const reasons[] = {"DLL_PROCESS_ATTACH", "DLL_THREAD_ATTACH", "DLL_THREAD_DETACH", "DLL_PROCESS_DETACH"};
  const std::regex time(" DllMain: (Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                        "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");
  for (size_t i = 0; i < 4; ++i) {
    ASSERT_EQ(lines[i].rfind(reasons[i], 0), 0u) << lines[i];
    EXPECT_TRUE(std::regex_match(lines[i].substr(std::strlen(reasons[i])), time)) << lines[i];
  }
}

TEST(LoadTraceTest, UnwritableTraceLeavesTheModuleWorking) {
  ReadTrace();
  DeleteFileA(kTracePath);
  // Held open without sharing, the file cannot be opened by the module.
  zem::UniqueFile locked(CreateFileA(kTracePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(locked);
  {
    LoadedModule module;
    ASSERT_NE(module.handle(), nullptr);
    EXPECT_NE(module.Entry(), nullptr);
  }
  locked.reset();
  EXPECT_EQ(ReadTrace(), "");

  DeleteFileA(kTracePath);
}

}  // namespace
