// The system clocks and small arithmetic helpers of the platform: UTC time of day, the
// multimedia millisecond clock and MulDiv.
#pragma once

#include "platform/WinTypes.h"

// The current UTC time (only the time-of-day fields are meaningful here).
void GetSystemTime(SYSTEMTIME* time);

// Milliseconds from the backend's clock, an unsigned 32-bit count that wraps.
DWORD timeGetTime();

// Lets time pass until timeGetTime reads time (wrap-safe); messages that come meanwhile wait in
// the queue.
void SleepUntil(DWORD time);

// (a * b) / c with a 64-bit product, rounded to the nearest integer (halves away from zero);
// -1 when c is 0.
int MulDiv(int a, int b, int c);
