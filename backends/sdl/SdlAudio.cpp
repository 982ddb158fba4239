// The game's sound through SDL's own audio.
#include "backends/sdl/SdlAudio.h"

#include <SDL.h>
#if defined(__linux__)
#include <dlfcn.h>
#endif

#include <cstdarg>
#include <cstdio>
#include <string>

#include "backends/sdl/SoundQueue.h"

namespace {

constexpr int Rate = 48000;
constexpr int FrameSamples = 960;
// A frame in the device's buffer and at most two waiting: 60 ms from the frame to the speaker.
constexpr int QueueSamples = 2 * FrameSamples;

bool Verbose() {
  const char* value = SDL_getenv("TARNYX_VERBOSE");
  return value && *value && SDL_strcmp(value, "0") != 0;
}

void Say(const std::string& line) {
  std::fprintf(stderr, "tarnyx: sound: %s\n", line.c_str());
  std::fflush(stderr);
}

// ALSA's library reports every device it cannot find on stderr, a dozen lines on a machine
// without sound, before SDL says the device failed. Its reports are turned off through the
// library SDL itself loads (where it is loaded at all), unless the player asked for the log.
#if defined(__linux__)
extern "C" void QuietAlsaReport(const char*, int, const char*, int, const char*, ...) {}
#endif

void QuietAlsa() {
#if defined(__linux__)
  if (Verbose()) return;
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!alsa) return;
  using THandler = void (*)(const char*, int, const char*, int, const char*, ...);
  using TSetHandler = int (*)(THandler);
  // Kept loaded: the handler stays with the library.
  if (auto set = reinterpret_cast<TSetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
    set(QuietAlsaReport);
  }
#endif
}

}  // namespace

struct TSdlAudio::TState {
  SDL_AudioDeviceID Device = 0;
  bool Started = false;  // SDL's audio is running
  bool Waiting = false;  // no device: wait for one to be added before trying again
  TSoundQueue Queue{QueueSamples, QueueSamples};

  static void Callback(void* user, Uint8* stream, int bytes) {
    auto* state = static_cast<TState*>(user);
    state->Queue.Pull(reinterpret_cast<std::int16_t*>(stream), bytes / 2);
  }

  void OpenDevice() {
    if (!Started) {
      QuietAlsa();
      // SDL's disk and dummy drivers say on their own that they are in use; the game says it
      // when asked (TARNYX_VERBOSE).
      if (!Verbose()) SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_NUM_LOG_PRIORITIES);
      if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (Verbose()) Say(std::string("none: ") + SDL_GetError());
        Waiting = true;
        return;
      }
      Started = true;
    }
    SDL_AudioSpec want{};
    want.freq = Rate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = FrameSamples;
    want.callback = Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // SDL converts to what the device takes; only the buffer's length may differ.
    Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (Device == 0) {
      if (Verbose())
        Say(std::string("no device opened (") + SDL_GetCurrentAudioDriver() +
            "): " + SDL_GetError());
      Waiting = true;
      return;
    }
    Queue.Clear();
    Waiting = false;
    if (Verbose()) {
      char* name = nullptr;
      SDL_AudioSpec spec;
      std::string shown =
          SDL_GetDefaultAudioInfo(&name, &spec, 0) == 0 && name ? name : "the default device";
      SDL_free(name);
      Say("opened " + shown + " through SDL's " + SDL_GetCurrentAudioDriver() + " driver, " +
          std::to_string(have.freq) + " Hz, " + std::to_string(have.samples) + " samples a buffer");
    }
    SDL_PauseAudioDevice(Device, 0);
  }

  void CloseDevice() {
    if (!Device) return;
    SDL_CloseAudioDevice(Device);
    Device = 0;
    // How smoothly it went: frames late (each a fade to silence) and samples dropped for room.
    if (Verbose())
      Say("closed after " + std::to_string(Queue.Underruns()) + " times run dry and " +
          std::to_string(Queue.Dropped()) + " samples dropped");
  }
};

TSdlAudio::TSdlAudio() : S(std::make_unique<TState>()) {}

TSdlAudio::~TSdlAudio() { Close(); }

bool TSdlAudio::Open() const { return S->Device != 0; }

std::uint32_t TSdlAudio::Device() const { return S->Device; }

void TSdlAudio::Play(const std::int16_t* samples, int count) {
  if (!samples || count <= 0) return;
  if (!S->Device) {
    if (S->Waiting) return;
    // Silence needs no device; the first sound opens one.
    bool silent = true;
    for (int i = 0; i < count && silent; ++i) silent = samples[i] == 0;
    if (silent) return;
    S->OpenDevice();
    if (!S->Device) return;
  }
  SDL_LockAudioDevice(S->Device);
  S->Queue.Push(samples, count);
  SDL_UnlockAudioDevice(S->Device);
}

void TSdlAudio::Accept(const SDL_Event& event) {
  if (event.adevice.iscapture) return;
  if (event.type == SDL_AUDIODEVICEREMOVED) DeviceRemoved(event.adevice.which);
  if (event.type == SDL_AUDIODEVICEADDED) DeviceAdded();
}

void TSdlAudio::DeviceRemoved(std::uint32_t device) {
  if (!S->Device || device != S->Device) return;
  if (Verbose()) Say("the device was removed; silent until one is added");
  S->CloseDevice();
  S->Waiting = true;
}

void TSdlAudio::DeviceAdded() {
  if (S->Device || !S->Waiting) return;
  if (Verbose()) Say("a device was added");
  S->Waiting = false;  // the next sound opens it
}

void TSdlAudio::Close() {
  S->CloseDevice();
  if (S->Started) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  S->Started = false;
}
