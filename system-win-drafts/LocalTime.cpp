// The local calendar on Windows: the C library's thread-safe localtime_s.
//
// DRAFT for system/windows/LocalTime.cpp on the layout with system/ (implements
// system/LocalTime.h there; compile-checked against that header, not built on this branch).
#include "system/LocalTime.h"

bool LocalCalendarTime(std::time_t moment, std::tm& local) {
  return localtime_s(&local, &moment) == 0;
}
