#pragma once
// Time: the performance counter (CLOCK_MONOTONIC in nanoseconds), sleeping and the calendar time.
// Tick counts and thread ids belong to the window piece, which runs them on its own clock and
// message queues.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};

struct SYSTEMTIME {
  WORD wYear = 0;
  WORD wMonth = 0;
  WORD wDayOfWeek = 0;
  WORD wDay = 0;
  WORD wHour = 0;
  WORD wMinute = 0;
  WORD wSecond = 0;
  WORD wMilliseconds = 0;
};

// Frequency is 1 000 000 000 counts per second.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

void Sleep(DWORD milliseconds);

void GetSystemTime(SYSTEMTIME* time);  // UTC
void GetLocalTime(SYSTEMTIME* time);   // the process's time zone

DWORD GetCurrentProcessId();

}  // namespace kestrel::platform
