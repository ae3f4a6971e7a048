// The reference host's files as users have them: hostsim.exe run as a program from a folder, on an
// image and an action file whose names are in no single legacy code page, and its output pair
// replaced whole or not at all when another program holds one of the old files open.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/FileAccess.h"
#include "imaging/Image.h"
#include "imaging/PngWriter.h"
#include "imaging/WindowsText.h"
#include "platform/WindowsHandles.h"
#include "refhost/ReferenceHost.h"
#include "tests/support/ProgramFolder.h"

namespace {

using hostsim::Utf16FromUtf8;

// UTF-8 names, written with escapes so that every compiler reads the same bytes:
// "Programme Ää 写真", "Bilder\Ääkkönen 写真.png", "Aktionen öß.atn", "Ausgabe Ø 出力".
const std::string kProgramFolderName = u8"Programme \u00C4\u00E4 \u5199\u771F";
const std::string kImage = u8"Bilder\\\u00C4\u00E4kk\u00F6nen \u5199\u771F.png";
const std::string kActions = u8"Aktionen \u00F6\u00DF.atn";
const std::string kOut = u8"Ausgabe \u00D8 \u51FA\u529B";

std::vector<uint8_t> Bytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(hostsim::ReadWholeFile(path, size_t(64) << 20, bytes), hostsim::FileRead::kRead) << path;
  return bytes;
}

bool Copy(const std::string& from, const std::string& to) {
  return CopyFileW(Utf16FromUtf8(from).c_str(), Utf16FromUtf8(to).c_str(), FALSE) != FALSE;
}

struct Entry {
  std::string name;
  bool folder;
};

// The files and folders in a folder, sorted by name.
std::vector<Entry> Entries(const std::string& folder) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAW found;
  const zem::UniqueFileSearch search(FindFirstFileW(Utf16FromUtf8(folder + "\\*").c_str(), &found));
  if (!search) return entries;
  do {
    const std::string name = hostsim::Utf8FromUtf16(found.cFileName);
    if (name != "." && name != "..") entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search.get(), &found));
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const Entry& entry : Entries(folder)) names.push_back(entry.name);
  return names;
}

// Removes a folder with everything in it.
void RemoveFolder(const std::string& folder) {
  for (const Entry& entry : Entries(folder)) {
    const std::string path = folder + "\\" + entry.name;
    if (entry.folder) {
      RemoveFolder(path);
    } else {
      DeleteFileW(Utf16FromUtf8(path).c_str());
    }
  }
  RemoveDirectoryW(Utf16FromUtf8(folder).c_str());
}

struct Finished {
  DWORD exitCode = DWORD(-1);
  std::string output;  // standard output and error, as the bytes the program wrote
};

// Runs a program in `folder` with its standard output and error into one pipe.
Finished RunProgram(const std::string& program, const std::string& arguments, const std::string& folder) {
  Finished finished;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  zem::UniqueKernelObject readEnd, writeEnd;
  if (!CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0)) return finished;
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  std::wstring commandLine = L"\"" + Utf16FromUtf8(program) + L"\" " + Utf16FromUtf8(arguments);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      Utf16FromUtf8(folder).c_str(), &startup, &process);
  writeEnd.reset();  // the child holds the only other copy
  if (started) {
    const zem::UniqueKernelObject thread(process.hThread);
    const zem::UniqueKernelObject child(process.hProcess);
    // The child's end, not the pipe's, ends the reading: a process that inherited the write end
    // (Wine starts helpers of its own) could keep the pipe open long after the child has gone.
    const ULONGLONG deadline = GetTickCount64() + 120000;
    bool ended = false;
    for (;;) {
      DWORD available = 0;
      if (!PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr)) break;  // closed, all read
      if (available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(readEnd.get(), buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) break;
        finished.output.append(buffer, got);
      } else if (ended) {
        break;
      } else if (GetTickCount64() > deadline) {
        TerminateProcess(child.get(), 1);
        finished.output += "\n[still running after 120 s: ended by the test]\n";
        break;
      } else {
        ended = WaitForSingleObject(child.get(), 20) == WAIT_OBJECT_0;
      }
    }
    WaitForSingleObject(child.get(), 5000);
    GetExitCodeProcess(child.get(), &finished.exitCode);
  }
  return finished;
}

class ReferenceHostFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string parent = ProgramFolder() + "reference_host_files";
    CreateDirectoryW(Utf16FromUtf8(parent).c_str(), nullptr);
    work = parent + "\\" + test->name();
    RemoveFolder(work);
    CreateDirectoryW(Utf16FromUtf8(work).c_str(), nullptr);
  }

  std::string work;
};

TEST_F(ReferenceHostFilesTest, RunsFromAFolderAndOnFilesWithNamesInAnyScript) {
  // Only a UTF-8 code page holds both scripts; any other shows that the narrow file functions,
  // which read paths in it, would not find these files.
  std::wstring wide = Utf16FromUtf8(kImage);
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lost);
  if (GetACP() != CP_UTF8) {
    EXPECT_TRUE(lost) << "the ANSI code page " << GetACP() << " holds the names";
  }

  const std::string folder = work + "\\" + kProgramFolderName;
  ASSERT_TRUE(CreateDirectoryW(Utf16FromUtf8(folder).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(Utf16FromUtf8(folder + "\\Bilder").c_str(), nullptr));
  ASSERT_TRUE(Copy(ProgramFolder() + "hostsim.exe", folder + "\\hostsim.exe"));
  ASSERT_TRUE(Copy(ProgramFolder() + "ZEM_Variations.8li", folder + "\\ZEM_Variations.8li"));
  ASSERT_TRUE(Copy(ProgramFolder() + "ZEM_Variations.atn", folder + "\\" + kActions));
  ASSERT_TRUE(hostsim::SavePng(hostsim::Image(30, 20, 90), folder + "\\" + kImage));

  // Relative paths, as a user types them in the program's folder; the plug-in is found beside it.
  const Finished run = RunProgram(folder + "\\hostsim.exe",
                                  "--image \"" + kImage + "\" --actions \"" + kActions + "\" --mode 2 --out \"" +
                                      kOut + "\"",
                                  folder);
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("playing " + kActions + " (action set ZEM_Variations, 18 actions) on a 30 x 20 image"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("contact sheet: " + kOut + "\\contact-sheet.png"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("event log: " + kOut + "\\event-log.txt"), std::string::npos) << run.output;
  hostsim::Image sheet;
  std::string error;
  EXPECT_TRUE(hostsim::LoadImageFile(folder + "\\" + kOut + "\\contact-sheet.png", sheet, error)) << error;
  EXPECT_EQ(Names(folder + "\\" + kOut), (std::vector<std::string>{"contact-sheet.png", "event-log.txt"}));

  // Problems name the files as given, in the same encoding.
  const std::string missing = u8"Bilder\\fehlt \u00FC.png";
  const Finished refused = RunProgram(folder + "\\hostsim.exe", "--image \"" + missing + "\" --out \"" + kOut + "\"",
                                      folder);
  EXPECT_EQ(refused.exitCode, 1u);
  EXPECT_NE(refused.output.find("hostsim: cannot open image " + missing), std::string::npos) << refused.output;
}

// Another program holding one of the old files open without sharing its deletion, as an editor
// showing the log may: the run fails naming that file and the system's reason, and the old pair
// is left exactly as it was. Once the file is free the next run replaces both.
TEST_F(ReferenceHostFilesTest, AHeldFileLeavesTheOldPairAsItWas) {
  const std::string out = work + "\\out";
  const auto run = [&](const char* mode, std::string& problems) {
    std::ostringstream printed, err;
    const int code = hostsim::RunReferenceHost({"--mode", mode, "--out", out}, printed, err);
    problems = err.str();
    return code;
  };
  std::string problems;
  ASSERT_EQ(run("4", problems), 0) << problems;
  const std::vector<uint8_t> oldSheet = Bytes(out + "\\contact-sheet.png");
  const std::vector<uint8_t> oldLog = Bytes(out + "\\event-log.txt");

  for (const char* held : {"event-log.txt", "contact-sheet.png"}) {
    const std::string path = out + "\\" + held;
    zem::UniqueFile holder(CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder) << path;
    EXPECT_EQ(run("2", problems), 1) << held;
    holder.reset();
    EXPECT_NE(problems.find("hostsim: " + path + " cannot be replaced (error "), std::string::npos) << problems;
    EXPECT_NE(problems.find("; no file was replaced"), std::string::npos) << problems;
    EXPECT_EQ(Bytes(out + "\\contact-sheet.png"), oldSheet) << "held " << held;
    EXPECT_EQ(Bytes(out + "\\event-log.txt"), oldLog) << "held " << held;
    EXPECT_EQ(Names(out), (std::vector<std::string>{"contact-sheet.png", "event-log.txt"}))
        << "nothing left beside them, held " << held;
  }

  ASSERT_EQ(run("2", problems), 0) << problems;
  EXPECT_NE(Bytes(out + "\\contact-sheet.png"), oldSheet);
  EXPECT_NE(Bytes(out + "\\event-log.txt"), oldLog);
  EXPECT_EQ(Names(out), (std::vector<std::string>{"contact-sheet.png", "event-log.txt"}));
}

}  // namespace
