// The game's window icon, compiled into the program.
#pragma once

#include "media/Png.h"

// The 64-pixel icon of the installed game (assets/icons/tarnyx-64.png), embedded by the build and
// decoded here, so the game reads no file at run time. False only if the embedded picture is
// broken, which the tests rule out.
bool GameWindowIcon(TRgbaPicture& icon);
