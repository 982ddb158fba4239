// The UTC time of day, which the game's world is made from.
#pragma once

// The time of day now in UTC, from the system clock.
void UtcTimeOfDay(int& hour, int& minute, int& second, int& millisecond);
