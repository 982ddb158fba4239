// Demos in headless runs.
#include "tools/headless/DemoHooks.h"

#include <cstdio>
#include <memory>

#include "app/CommandLine.h"
#include "app/Form1.h"
#include "demo/DemoPlayer.h"
#include "demo/DemoRecorder.h"
#include "tools/headless/RunOptions.h"

namespace {

template <typename Hooked>
void Chain(TForm1& form, Hooked& hooked) {
  auto input = form.OnFrameInput;
  form.OnFrameInput = [input, &hooked](TInputStates& states) {
    if (input) input(states);
    hooked.FrameInput(states);
  };
  auto end = form.OnFrameEnd;
  form.OnFrameEnd = [end, &hooked] {
    if (end) end();
    hooked.FrameEnd();
  };
}

}  // namespace

void AttachRecorder(TForm1& form, TDemoRecorder& recorder) { Chain(form, recorder); }
void AttachPlayer(TForm1& form, TDemoPlayer& player) { Chain(form, player); }

void AddDemoRunOptions() {
  static bool added = false;
  if (added) return;
  added = true;
  AddRunOption({"--record", true, false, "--record FILE         record the run as a demo into FILE",
                [](TRunOptions& o, const std::string& file) {
                  if (file.empty()) throw EUsageError("--record needs a FILE");
                  auto recorder = std::make_shared<std::unique_ptr<TDemoRecorder>>();
                  o.FormMade.push_back([recorder, file](TForm1& form, const TRunOptions& options) {
                    if (options.ShipGiven)
                      throw EUsageError("--record cannot go with --ship: a demo starts from the world its seed builds");
                    *recorder = std::make_unique<TDemoRecorder>(file, options.Seed, GameVersionText);
                    AttachRecorder(form, **recorder);
                  });
                  o.Finished.push_back([recorder](int status) {
                    std::string error;
                    if ((*recorder)->Finish(error)) return status;
                    std::fprintf(stderr, "tarnyx-headless: the recording is incomplete: %s\n", error.c_str());
                    return 1;
                  });
                }});
}
