// The calendar in the player's time zone.
#pragma once

#include <ctime>

// The local calendar time of a moment, as the system's time zone has it. False when the system
// cannot say.
bool LocalCalendarTime(std::time_t moment, std::tm& local);
