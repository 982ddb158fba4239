// Another program destroying the game's X window (or closing its display connection) ends the
// game as a close of the window would, not with an X error.
#pragma once

#include <functional>

struct SDL_Window;
union SDL_Event;

// X tells of a destroyed window by an event that SDL does not pass on, reports every later
// request about it as an error, and Xlib's default answer to an error, or to a lost connection,
// is to print it and end the process with status 1. WatchX11Window asks SDL for the window
// system's own events (see NoteX11Event) and puts handlers in front: an error about the watched
// window (or, once that window is gone, any window or drawable error) only marks it lost, and
// SDL goes on; a lost connection ends the program at once, since nothing can be drawn or asked
// any more: with status 0, as a close would, or with what the last words given to
// WhenX11ConnectionLost return (a recording says where its flight is). Other errors go to the handler that was there before
// (SDL's, then Xlib's). Only for windows on SDL's X11 driver; elsewhere nothing happens.
void WatchX11Window(SDL_Window* window);

// What the program does before it ends for a lost connection; returns its exit status.
void WhenX11ConnectionLost(std::function<int()> lastWords);

// Looks at one of SDL's events: the window system telling that the watched window was destroyed
// marks it lost.
void NoteX11Event(const SDL_Event& event);

// True once the watched window was found destroyed; it stays so until another window is watched.
bool X11WindowLost();

// Called once the watched window was destroyed on SDL's side too: the errors about it that are
// still on their way are waited for here, while the handler above is in place (SDL puts Xlib's
// own back when it closes the display), and the window is no longer watched.
void ForgetX11Window();
