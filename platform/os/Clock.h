#pragma once
// Time: the performance counter (CLOCK_MONOTONIC in nanoseconds), tick counts, sleeping and the
// calendar time.

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

// Milliseconds since an arbitrary start; the 32-bit form wraps after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();

void Sleep(DWORD milliseconds);

void GetSystemTime(SYSTEMTIME* time);  // UTC
void GetLocalTime(SYSTEMTIME* time);   // the process's time zone

DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();

}  // namespace kestrel::platform
