// The program's own keys, the same on every back end: a screenshot, full screen, quit, and the
// sound's mute and volume.
#pragma once

#include <bitset>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/Windows.h"

// TAppKeys looks at every key message before it is dispatched and keeps the program's own keys
// from the game:
//   PrintScreen or F12  the back end saves a picture of the last presented frame; where it went
//                       is printed on stdout, or why not on stderr (the same reason only once
//                       in a row);
//   Alt+Enter           the back end switches between full screen and a window;
//   Alt+F4              the main window is asked to close (where the back end lets a key end the
//                       program; elsewhere the key does nothing);
//   M, - and =          mute or unmute the sound, its volume down or up a step (and the keypad's
//   (keypad - and +)    minus and plus): handed to OnSoundKey, and only where one is set (a
//                       program without sound leaves these keys to the game, which maps none
//                       of them).
// The release of a kept press is kept as well, and a held key acts once, not on every repeat. A
// fresh press of the same key that is not one of these (Enter without Alt) reaches the game, and
// so does its release, even if the release of the kept press never came (the focus went away).
// Keys are told apart by their scan code (lParam), so that Enter and the keypad's Enter are two.
class TAppKeys {
 public:
  enum TSoundKey { skMute, skVolumeDown, skVolumeUp };

  // True when the message was one of the program's keys or the release of one: it is then done.
  bool Handle(const MSG& msg);

  // What the sound keys do: set by a program that plays sound.
  std::function<void(TSoundKey key)> OnSoundKey;

 private:
  void SaveScreenshot();
  void Say(std::FILE* stream, const std::string& line);

  std::bitset<256> FKept;  // by scan code, extended keys at 0x80 and up
  std::string FLastFailure;
};
