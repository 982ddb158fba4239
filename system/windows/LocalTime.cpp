// The local calendar on Windows: the C library's thread-safe localtime_s.
#include "system/LocalTime.h"

bool LocalCalendarTime(std::time_t moment, std::tm& local) {
  return localtime_s(&local, &moment) == 0;
}
