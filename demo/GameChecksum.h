// The checksum of the game's state that demos carry.
#pragma once

#include <cstdint>

// The checksum of everything a frame carries over to the next, in a fixed order: the generator's
// state, CurrentPlanet, the player record with its ship, the stars in use, the four explosions,
// the message queue with its timing, and every planet with its panel, things and glows; then
// inputDigest, the digest of every input state played so far, so that a damaged input byte is
// found even where the game ignores the state it carries. Empty table entries count as such.
std::uint64_t GameStateChecksum(std::uint64_t inputDigest);
