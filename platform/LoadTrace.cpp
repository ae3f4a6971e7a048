#include "platform/LoadTrace.h"

#include <cstdio>

namespace zem {

static const char* const kDllReasonNames[] = {"DLL_PROCESS_DETACH", "DLL_PROCESS_ATTACH", "DLL_THREAD_ATTACH",
                                              "DLL_THREAD_DETACH", "DLL_PROCESS_VERIFIER"};

const char* DllReasonName(uint32_t reason) {
  return reason < sizeof kDllReasonNames / sizeof kDllReasonNames[0] ? kDllReasonNames[reason] : "DLL_UNKNOWN_REASON";
}

// Indexes a name table, with "???" for a value the platform should never report.
static const char* NameAt(const char* const* names, int count, int index) {
  return index >= 0 && index < count ? names[index] : "???";
}

void FormatTraceTime(const CalendarTime& time, char (&text)[kTraceTimeLength + 1]) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %04d\n", NameAt(kDays, 7, time.dayOfWeek),
                NameAt(kMonths, 12, time.month - 1), time.day % 100, time.hour % 100, time.minute % 100,
                time.second % 100, time.year % 10000);
}

size_t FormatTraceLine(uint32_t reason, const CalendarTime& time, char (&line)[kTraceLineCapacity]) {
  char timeText[kTraceTimeLength + 1];
  FormatTraceTime(time, timeText);
  int length = std::snprintf(line, sizeof line, "%s DllMain: %s", DllReasonName(reason), timeText);
  return length < 0 ? 0 : static_cast<size_t>(length);
}

}  // namespace zem
