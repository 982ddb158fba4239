// The local calendar on POSIX systems: the thread-safe localtime_r.
#include "system/LocalTime.h"

bool LocalCalendarTime(std::time_t moment, std::tm& local) { return localtime_r(&moment, &local) != nullptr; }
