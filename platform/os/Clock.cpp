#include "platform/os/Clock.h"

#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace kestrel::platform {

namespace {

std::int64_t MonotonicNanoseconds() {
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void FillSystemTime(const tm& parts, long nanoseconds, SYSTEMTIME* time) {
  time->wYear = static_cast<WORD>(parts.tm_year + 1900);
  time->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  time->wDay = static_cast<WORD>(parts.tm_mday);
  time->wHour = static_cast<WORD>(parts.tm_hour);
  time->wMinute = static_cast<WORD>(parts.tm_min);
  time->wSecond = static_cast<WORD>(parts.tm_sec > 59 ? 59 : parts.tm_sec);  // no leap seconds
  time->wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
}

void CalendarTime(SYSTEMTIME* time, bool local) {
  if (!time) return;
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm parts{};
  if (local) ::localtime_r(&now.tv_sec, &parts);
  else ::gmtime_r(&now.tv_sec, &parts);
  FillSystemTime(parts, now.tv_nsec, time);
}

}  // namespace

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  count->QuadPart = MonotonicNanoseconds();
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  frequency->QuadPart = 1000000000;
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  timespec remaining{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000};
  while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

void GetSystemTime(SYSTEMTIME* time) { CalendarTime(time, false); }
void GetLocalTime(SYSTEMTIME* time) { CalendarTime(time, true); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

}  // namespace kestrel::platform
