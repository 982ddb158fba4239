// The game's state written as JSON, under the game's own field names.
#pragma once

#include "report/Json.h"

// Writes one object with the generator's state, CurrentPlanet, Player, the 100 Planets with their
// Things, the stars in use (0..StarCount), the four Explosions and the Messages. A table entry
// that holds no object yet is written as null.
void WriteWorldState(TJsonWriter& json);
