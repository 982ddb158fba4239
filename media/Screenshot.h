// Screenshots as files: a frame saved under a fresh name in the player's folder for them.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Saves width x height 8-bit pixels (rows pitch bytes apart) through their palette (0x00RRGGBB)
// as tarnyx-YYYYMMDD-HHMMSS.png, stamped with the local time now, in folder (made if missing). A
// second picture within the same second gets "-2", "-3"... before the extension. path gets the
// file written; false with the reason in error.
bool SaveScreenshotFile(const std::string& folder, std::time_t now, const std::uint8_t* pixels,
                        int pitch, int width, int height, const std::uint32_t palette[256],
                        std::string& path, std::string& error);
