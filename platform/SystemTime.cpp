// The system clocks over the backend, and MulDiv.
#include "platform/SystemTime.h"

#include "platform/Backend.h"

void GetSystemTime(SYSTEMTIME* time) {
  int h = 0, m = 0, s = 0, ms = 0;
  Backend().TimeOfDay(h, m, s, ms);
  *time = SYSTEMTIME{};
  time->wHour = static_cast<WORD>(h);
  time->wMinute = static_cast<WORD>(m);
  time->wSecond = static_cast<WORD>(s);
  time->wMilliseconds = static_cast<WORD>(ms);
}

DWORD timeGetTime() { return Backend().Milliseconds(); }

void SleepUntil(DWORD time) { Backend().SleepUntil(time); }

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long p = static_cast<long long>(a) * b;
  long long half = (c < 0 ? -static_cast<long long>(c) : c) / 2;
  bool negative = (p < 0) != (c < 0);
  long long mag = (p < 0 ? -p : p) + half;
  long long q = mag / (c < 0 ? -static_cast<long long>(c) : c);
  return static_cast<int>(negative ? -q : q);
}
