#include "refhost/ReplaceTogether.h"

#include <windows.h>

#include "imaging/FileAccess.h"
#include "imaging/WindowsText.h"

namespace hostsim {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Move(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

// One file's progress through the replacement, so that a failure can undo exactly what was done.
struct Replacement {
  std::string path;
  std::wstring target, part, previous;
  bool partWritten = false;
  bool movedAside = false;  // the old file is at `previous`
  bool movedIn = false;     // the new file is at `target`
};

// Puts everything back as it was before the replacement began; returns what could not be.
std::string Undo(std::vector<Replacement>& replacements) {
  std::string kept;
  for (Replacement& r : replacements) {
    if (r.movedIn && DeleteFileW(r.target.c_str())) r.movedIn = false;
    if (r.movedAside && !r.movedIn && Move(r.previous, r.target)) r.movedAside = false;
    if (r.movedAside) {
      kept += "; the previous " + r.path + " is kept as " + Utf8FromUtf16(r.previous) + " (" +
              SystemErrorText(GetLastError()) + ")";
    }
    if (r.partWritten) DeleteFileW(r.part.c_str());
  }
  return kept;
}

}  // namespace

bool ReplaceTogether(const std::vector<NewFile>& files, std::string& error) {
  std::vector<Replacement> replacements;
  for (const NewFile& file : files) {
    Replacement r;
    r.path = file.path;
    r.target = Utf16FromUtf8(file.path);
    r.part = r.target + L".part";
    r.previous = r.target + L".previous";
    replacements.push_back(std::move(r));
  }
  const auto fail = [&](const std::string& what) {
    const std::string reason = SystemErrorText(GetLastError());
    const std::string kept = Undo(replacements);
    error = what + " (" + reason + ")" + (kept.empty() ? "; no file was replaced" : kept);
    return false;
  };

  for (size_t i = 0; i < files.size(); ++i) {
    Replacement& r = replacements[i];
    const std::string part = files[i].path + ".part";
    r.partWritten = true;
    if (!WriteWholeFile(part, files[i].bytes.data(), files[i].bytes.size())) return fail("cannot write " + part);
  }
  // A file another program holds open without sharing deletion cannot be renamed: that shows
  // here, while every old file can still be put back.
  for (Replacement& r : replacements) {
    if (!Exists(r.target)) continue;
    if (!Move(r.target, r.previous)) return fail(r.path + " cannot be replaced");
    r.movedAside = true;
  }
  for (Replacement& r : replacements) {
    if (!MoveFileExW(r.part.c_str(), r.target.c_str(), 0)) return fail("cannot move the new " + r.path + " into place");
    r.partWritten = false;
    r.movedIn = true;
  }
  for (const Replacement& r : replacements) {
    if (r.movedAside) DeleteFileW(r.previous.c_str());
  }
  return true;
}

}  // namespace hostsim
