// The program's own keys, the same on every back end: a screenshot, full screen, quit.
#pragma once

#include <bitset>
#include <cstdio>
#include <string>

#include "platform/Windows.h"

// TAppKeys looks at every key message before it is dispatched and keeps the program's own keys
// from the game:
//   PrintScreen or F12  the back end saves a picture of the last presented frame; where it went
//                       is printed on stdout, or why not on stderr (the same reason only once
//                       in a row);
//   Alt+Enter           the back end switches between full screen and a window;
//   Alt+F4              the main window is asked to close (where the back end lets a key end the
//                       program; elsewhere the key does nothing).
// The release of a kept press is kept as well, and a held key acts once, not on every repeat. A
// fresh press of the same key that is not one of these (Enter without Alt) reaches the game, and
// so does its release, even if the release of the kept press never came (the focus went away).
// Keys are told apart by their scan code (lParam), so that Enter and the keypad's Enter are two.
class TAppKeys {
 public:
  // True when the message was one of the program's keys or the release of one: it is then done.
  bool Handle(const MSG& msg);

 private:
  void SaveScreenshot();
  void Say(std::FILE* stream, const std::string& line);

  std::bitset<256> FKept;  // by scan code, extended keys at 0x80 and up
  std::string FLastFailure;
};
