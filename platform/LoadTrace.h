// The text of the load trace: one line per loader notification, naming the notification and the
// local time, e.g. "DLL_PROCESS_ATTACH DllMain: Wed Jan 02 02:03:05 2026\n".
#pragma once

#include <cstddef>
#include <cstdint>

namespace zem {

// The loader's reason code as traced; a code outside 0 to 4 gets a name of its own.
const char* DllReasonName(uint32_t reason);

// A local date and time, as the platform reports it.
struct CalendarTime {
  int year;
  int month;      // 1 to 12
  int day;        // 1 to 31
  int dayOfWeek;  // 0 (Sunday) to 6
  int hour;
  int minute;
  int second;
};

constexpr size_t kTraceTimeLength = 25;  // "Wed Jan 02 02:03:05 2026\n"

// Writes the 25-character time text and its terminator, in English whatever the locale.
void FormatTraceTime(const CalendarTime& time, char (&text)[kTraceTimeLength + 1]);

constexpr size_t kTraceLineCapacity = 64;

// Writes the whole trace line, its newline included, and returns its length.
size_t FormatTraceLine(uint32_t reason, const CalendarTime& time, char (&line)[kTraceLineCapacity]);

}  // namespace zem
