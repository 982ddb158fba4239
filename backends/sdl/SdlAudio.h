// TSdlAudio: the game's sound through SDL's own audio, from the frame to the speaker.
#pragma once

#include <cstdint>
#include <memory>

union SDL_Event;

// The sound device of the SDL back end. The device is opened when the first frame that is not
// silent is played (a game muted from the start never opens one) at 48 kHz, 16-bit, mono, with a
// device buffer of one frame (960 samples); the samples wait in a TSoundQueue of at most two
// frames more, so that what is heard is at most three frames (60 ms) behind the game. A frame
// that comes late, or frames that stop (the game inactive), fade to silence. A device that fails
// to open, or is removed, leaves the game silent until SDL reports a device added, when the next
// frame opens one again. With TARNYX_VERBOSE set, says on stderr which device was opened or why
// none was.
class TSdlAudio {
 public:
  TSdlAudio();
  ~TSdlAudio();
  TSdlAudio(const TSdlAudio&) = delete;
  TSdlAudio& operator=(const TSdlAudio&) = delete;

  // One frame's samples (any count, 48 kHz mono).
  void Play(const std::int16_t* samples, int count);
  // SDL's audio device events: a device added or removed (DeviceAdded, DeviceRemoved).
  void Accept(const SDL_Event& event);
  // An output device appeared: the next sound opens one if none is open.
  void DeviceAdded();
  // The output device with SDL's id device went; if it is the open one, silence until one is
  // added.
  void DeviceRemoved(std::uint32_t device);
  // Closes the device and SDL's audio (before SDL_Quit).
  void Close();

  bool Open() const;
  // SDL's id of the open device; 0 when none is open.
  std::uint32_t Device() const;

 private:
  struct TState;
  std::unique_ptr<TState> S;
};
