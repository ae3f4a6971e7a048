// The module's loader entry: it traces every notification to a text file and records the
// module's instance handle. Nothing here may fail the load.
#include <windows.h>

#include "platform/LoadTrace.h"
#include "platform/PluginInstance.h"
#include "platform/WindowsHandles.h"

namespace zem {
namespace {

const char kTracePath[] = "C:\\LoadLogTextFormat.txt";

CalendarTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return CalendarTime{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

// Appends one line, opening and closing the file each time; others may read and write it meanwhile.
// The line's newline is written as CR LF, as a text-mode file would.
void AppendLoadTrace(DWORD reason) {
  const UniqueFile file(CreateFileA(kTracePath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  char line[kTraceLineCapacity];
  size_t length = FormatTraceLine(reason, LocalNow(), line);
  if (length > 0 && length + 1 < sizeof line && line[length - 1] == '\n') {
    line[length - 1] = '\r';
    line[length++] = '\n';
  }
  DWORD written = 0;
  WriteFile(file.get(), line, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace
}  // namespace zem

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // The last error belongs to whoever caused the notification (LoadLibrary's caller).
  DWORD lastError = GetLastError();
  zem::AppendLoadTrace(reason);
  zem::PluginInstance = instance;
  zem::OwnModule = instance;
  SetLastError(lastError);
  return TRUE;
}
