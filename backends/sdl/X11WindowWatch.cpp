// Another program destroying the game's X window ends the game as a close would.
#include "backends/sdl/X11WindowWatch.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <cstdlib>

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

using TErrorHandler = int (*)(Display*, XErrorEvent*);
using TIOErrorHandler = int (*)(Display*);
using TSetErrorHandler = TErrorHandler (*)(TErrorHandler);
using TSetIOErrorHandler = TIOErrorHandler (*)(TIOErrorHandler);
using TSync = int (*)(Display*, Bool);

std::function<int()>& LastWords() {
  static std::function<int()> lastWords;
  return lastWords;
}

// The handlers are the process's, as Xlib's are.
Display* display = nullptr;
Window watched = 0;
bool lost = false;
TErrorHandler previous = nullptr;
TSync xSync = nullptr;  // not "sync": arm64 glibc headers bring unistd.h's sync() in through SDL

int OnError(Display* from, XErrorEvent* error) {
  bool aboutWindows = error->error_code == BadWindow || error->error_code == BadDrawable;
  if (watched && aboutWindows && (lost || error->resourceid == watched)) {
    lost = true;
    return 0;
  }
  // After the loss, requests that name the window in other ways fail with BadMatch as well.
  if (lost && error->error_code == BadMatch) return 0;
  return previous ? previous(from, error) : 0;
}

[[noreturn]] int OnConnectionLost(Display*) {
  std::fputs("tarnyx: the display closed the connection\n", stderr);
  std::fflush(stderr);
  const int status = LastWords() ? LastWords()() : 0;
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace

void WatchX11Window(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  display = info.info.x11.display;
  watched = info.info.x11.window;
  lost = false;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  static bool installed = false;
  if (installed) return;
  // Xlib is already loaded, by SDL; looked up rather than linked, as SDL itself does.
  void* xlib = SDL_LoadObject("libX11.so.6");
  auto setError = reinterpret_cast<TSetErrorHandler>(SDL_LoadFunction(xlib, "XSetErrorHandler"));
  auto setIOError =
      reinterpret_cast<TSetIOErrorHandler>(SDL_LoadFunction(xlib, "XSetIOErrorHandler"));
  xSync = reinterpret_cast<TSync>(SDL_LoadFunction(xlib, "XSync"));
  if (!setError || !setIOError || !xSync) return;
  previous = setError(OnError);
  setIOError(OnConnectionLost);
  installed = true;
}

void WhenX11ConnectionLost(std::function<int()> lastWords) { LastWords() = std::move(lastWords); }

void NoteX11Event(const SDL_Event& event) {
  if (event.type != SDL_SYSWMEVENT || !event.syswm.msg ||
      event.syswm.msg->subsystem != SDL_SYSWM_X11)
    return;
  const XEvent& x = event.syswm.msg->msg.x11.event;
  if (watched && x.type == DestroyNotify && x.xdestroywindow.window == watched) lost = true;
}

bool X11WindowLost() { return lost; }

void ForgetX11Window() {
  if (lost && display && xSync) xSync(display, False);
  display = nullptr;
  watched = 0;
  lost = false;
}

#else

void WatchX11Window(SDL_Window*) {}
void WhenX11ConnectionLost(std::function<int()>) {}
void NoteX11Event(const SDL_Event&) {}
bool X11WindowLost() { return false; }
void ForgetX11Window() {}

#endif
