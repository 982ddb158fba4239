// demo FILE [...]: replays a demo on the headless backend, finds where it drifts from the
// recording, and prints the final state as run does; or the state after frame N (--frames N).
#include <charconv>
#include <cstdio>
#include <optional>
#include <set>
#include <string>

#include "app/CommandLine.h"
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "tools/headless/Commands.h"
#include "tools/headless/DemoHooks.h"
#include "tools/headless/InputScript.h"
#include "tools/headless/RunOptions.h"
#include "tools/headless/SoundRunOptions.h"

int DemoCommand(const TCommandArgs& args) {
  if (args.empty() || args[0].rfind("--", 0) == 0) throw EUsageError("demo FILE is required");
  const std::string& file = args[0];
  // The demo holds the seed, the frames and the input; the rest is as run has it.
  const std::set<std::string> own = {"--seed", "--ship", "--keys", "--joysticks", "--joy"};
  TCommandArgs rest(args.begin() + 1, args.end());
  for (const std::string& arg : rest)
    if (own.count(arg)) throw EUsageError(arg + " is not for demo: the demo holds the seed and the input");
  // --frames N stops after frame N, to look at the game there.
  std::optional<std::uint32_t> stopAfter;
  for (auto at = rest.begin(); at != rest.end(); ++at) {
    if (*at != "--frames") continue;
    if (stopAfter) throw EUsageError("--frames given more than once");
    if (at + 1 == rest.end()) throw EUsageError("--frames needs a value");
    const std::string& text = *(at + 1);
    std::uint32_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n == 0)
      throw EUsageError("--frames '" + text + "' is not a whole number from 1");
    stopAfter = n;
    at = rest.erase(at, at + 2) - 1;
  }

  std::optional<TDemoReader> demo;
  try {
    demo.emplace(TDemoReader::FromFile(file));
  } catch (const EDemoError& e) {
    std::fprintf(stderr, "tarnyx-headless demo: %s: %s\n", file.c_str(), e.what());
    return 2;
  }
  if (demo->Truncated())
    std::fprintf(stderr, "tarnyx-headless demo: %s: %s\n", file.c_str(), demo->TruncationWarning().c_str());
  if (demo->Header().GameVersion != GameVersionText)
    std::fprintf(stderr, "tarnyx-headless demo: %s: recorded by %s, played by %s: it may desynchronise\n",
                 file.c_str(), demo->Header().GameVersion.c_str(), GameVersionText);

  if (stopAfter && *stopAfter > demo->Frames())
    throw EUsageError("--frames " + std::to_string(*stopAfter) + " lies beyond the demo's " +
                      std::to_string(demo->Frames()) + " frames");
  const std::uint32_t frames = stopAfter ? *stopAfter : demo->Frames();

  AddInputRunOptions();
  AddDemoRunOptions();
  AddSoundRunOptions();
  // run wants at least one frame; a demo of none runs none.
  TCommandArgs runArgs = {"--seed", std::to_string(demo->Header().Seed), "--frames", std::to_string(frames ? frames : 1)};
  runArgs.insert(runArgs.end(), rest.begin(), rest.end());
  TRunOptions options = ParseRunOptions(runArgs);
  options.Frames = static_cast<int>(frames);
  for (const auto& [frame, png] : options.Shots)
    if (frame > options.Frames)
      throw EUsageError("--shot " + std::to_string(frame) + " lies beyond the " + std::to_string(options.Frames) +
                        " frames played");

  TDemoPlayer player(*demo);
  player.OnDesync = [](std::uint32_t frame) {
    std::fprintf(stderr, "tarnyx-headless demo: demo desynchronised at frame %u\n", static_cast<unsigned>(frame));
  };
  // First, so that a recording made of this replay (--record) keeps the demo's input.
  options.FormMade.insert(options.FormMade.begin(),
                          [&player](TForm1& form, const TRunOptions&) { AttachPlayer(form, player); });
  options.Finished.push_back([&](int status) {
    player.Conclude();
    // The final state may be going to standard output; the summary then goes beside it.
    std::FILE* to = options.StateFile == "-" ? stderr : stdout;
    std::fprintf(to, "%s\n", player.Summary().c_str());
    std::fflush(to);
    if (player.DesyncFrame() != 0) return 3;
    if (status != 0) return status;
    return demo->Truncated() && !stopAfter ? 2 : 0;
  });
  return RunGame(options);
}
