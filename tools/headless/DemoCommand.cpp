// demo FILE [...]: replays a demo on the headless backend, finds where it drifts from the
// recording, and prints the final state as run does; or the state after frame N (--frames N).
#include <charconv>
#include <cstdio>
#include <optional>
#include <set>
#include <string>

#include "demo/DemoRun.h"
#include "tools/headless/Commands.h"
#include "tools/headless/DemoHooks.h"
#include "tools/headless/InputScript.h"
#include "tools/headless/RunOptions.h"
#include "tools/headless/SettingsRunOptions.h"
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

  // The summary goes to standard output, or beside the final state when that goes there.
  std::FILE* summaryTo = stdout;
  TDemoRun run(
      "tarnyx-headless demo",
      [&summaryTo](const std::string& line) {
        std::fprintf(summaryTo, "%s\n", line.c_str());
        std::fflush(summaryTo);
      },
      [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
  if (!run.Play(file, false)) return run.Status();
  const TDemoReader& demo = *run.Demo();

  if (stopAfter && *stopAfter > demo.Frames())
    throw EUsageError("--frames " + std::to_string(*stopAfter) + " lies beyond the demo's " +
                      std::to_string(demo.Frames()) + " frames");
  const std::uint32_t frames = stopAfter ? *stopAfter : demo.Frames();
  run.StopAfter(frames);

  AddInputRunOptions();
  AddDemoRunOptions();
  AddSoundRunOptions();
  AddSettingsRunOptions();
  // run wants at least one frame; a demo of none runs none.
  TCommandArgs runArgs = {"--seed", std::to_string(run.Seed()), "--frames", std::to_string(frames ? frames : 1)};
  runArgs.insert(runArgs.end(), rest.begin(), rest.end());
  TRunOptions options = ParseRunOptions(runArgs);
  options.Program = "tarnyx-headless demo";
  options.Frames = static_cast<int>(frames);
  for (const auto& [frame, png] : options.Shots)
    if (frame > options.Frames)
      throw EUsageError("--shot " + std::to_string(frame) + " lies beyond the " + std::to_string(options.Frames) +
                        " frames played");
  if (options.StateFile == "-") summaryTo = stderr;

  // First, so that a recording made of this replay (--record) keeps the demo's input.
  options.FormMade.insert(options.FormMade.begin(),
                          [&run](TForm1& form, const TRunOptions&) { AttachDemoRun(form, run); });
  options.Finished.push_back([&run](int status) {
    const int played = run.Finish();
    if (played == DemoStatusDesync) return played;
    return status != 0 ? status : played;
  });
  return RunGame(options);
}
