// The signals the game heeds: a reader gone from its output, and the requests to stop.
#pragma once

// The game's output may go to a program that ends before the game does (tarnyx | head): a write
// to it must then fail, not end the game.
void IgnoreBrokenPipe();

// From now on an interrupt or a termination request (Ctrl+C, SIGINT, SIGTERM; on Windows also the
// console's close) does not end the process but is noted, so that the game quits through its own
// path and a recording is completed. A second request while the first is not yet taken ends the
// process at once, should the game not get to quit.
void CatchStopRequests();
// Whether a stop was requested since the last call; taking it clears it.
bool TakeStopRequest();
// The system's own handling again.
void ReleaseStopRequests();
