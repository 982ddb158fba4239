// The checksum of the game's state that demos carry.
#pragma once

#include <cstdint>

// The checksum of everything a frame carries over to the next (VisitGameState, game/GameState.h),
// then inputDigest, the digest of every input state played so far, so that a damaged input byte is
// found even where the game ignores the state it carries. Empty table entries count as such.
std::uint64_t GameStateChecksum(std::uint64_t inputDigest);
