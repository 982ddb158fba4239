// The game's state written as JSON, under the game's own field names.
#pragma once

#include "report/Json.h"

// Writes one object with every member of the game's state (VisitGameState, game/GameState.h): the
// generator's state, CurrentPlanet, Player, the 100 Planets with their Things, the stars in use
// (0..StarCount), the four Explosions and the Messages. A table entry that holds no object yet is
// written as null. Numbers keep their exact values (see TJsonWriter).
void WriteGameState(TJsonWriter& json);

// The same members, into an object the caller has begun, which may go on with members of its own.
void WriteGameStateMembers(TJsonWriter& json);
