// Writing a headless run's sound as a WAV file.
#include "tools/headless/SoundRunOptions.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/Form1.h"
#include "shell/PrintableText.h"
#include "sound/AttachSound.h"
#include "sound/WavFile.h"
#include "tools/headless/RunOptions.h"

namespace {

// What the options ask for, and the sound and file of the run.
struct TAudio {
  std::string File;
  std::optional<int> Volume;
  std::unique_ptr<TGameSound> Sound;
  std::unique_ptr<TWavWriter> Wav;
};

TAudio& Audio() {
  static TAudio audio;
  return audio;
}

// Hooks the sound into the form once the file is named (whichever option comes first).
void Hook(TRunOptions& options) {
  static bool hooked = false;
  if (hooked) return;
  hooked = true;
  options.FormMade.push_back([](TForm1& form, const TRunOptions&) {
    TAudio& a = Audio();
    if (a.File.empty()) throw EUsageError("--volume goes with --audio FILE.wav");
    a.Wav = std::make_unique<TWavWriter>(a.File);
    // A file that cannot even be begun stops the run before its frames.
    if (!a.Wav->Good()) throw std::runtime_error(a.Wav->Error());
    a.Sound = std::make_unique<TGameSound>(a.Volume.value_or(DefaultVolume));
    a.Sound->OnFrame = [](std::span<const std::int16_t, FrameSamples> samples) { Audio().Wav->Write(samples); };
    AttachSound(form, *a.Sound);
  });
  options.Finished.push_back([](int status) {
    TAudio& a = Audio();
    if (!a.Wav || a.Wav->Finish()) return status;
    std::fprintf(stderr, "tarnyx-headless: the sound was not written: %s\n", PrintableText(a.Wav->Error()).c_str());
    return status ? status : 1;
  });
}

}  // namespace

void AddSoundRunOptions() {
  static bool added = false;
  if (added) return;
  added = true;
  AddRunOption({"--audio", true, false,
                "--audio FILE.wav      the sound of the frames run, as a WAV file (48 kHz, 16-bit, mono)",
                [](TRunOptions& o, const std::string& file) {
                  if (file.empty()) throw EUsageError("--audio needs a FILE.wav");
                  Audio().File = file;
                  Hook(o);
                }});
  AddRunOption({"--volume", true, false, "--volume V            the sound's volume for --audio, 0..100 (default 80)",
                [](TRunOptions& o, const std::string& v) {
                  int volume = -1;
                  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), volume);
                  if (ec != std::errc() || end != v.data() + v.size() || volume < 0 || volume > MaxVolume)
                    throw EUsageError("--volume '" + v + "' is not a whole number from 0 to 100");
                  Audio().Volume = volume;
                  Hook(o);
                }});
}
