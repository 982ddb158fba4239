// Demos in headless runs.
#include "tools/headless/DemoHooks.h"

#include <cstdio>
#include <memory>

#include "app/Form1.h"
#include "demo/DemoRun.h"
#include "tools/headless/RunOptions.h"

void AttachDemoRun(TForm1& form, TDemoRun& run) {
  auto input = form.OnFrameInput;
  form.OnFrameInput = [input, &run](TInputStates& states) {
    if (input) input(states);
    run.FrameInput(states);
  };
  auto end = form.OnFrameEnd;
  form.OnFrameEnd = [end, &run] {
    if (end) end();
    run.FrameEnd();
  };
}

void AddDemoRunOptions() {
  static bool added = false;
  if (added) return;
  added = true;
  AddRunOption({"--record", true, false, "--record FILE         record the run as a demo into FILE",
                [](TRunOptions& o, const std::string& file) {
                  if (file.empty()) throw EUsageError("--record needs a FILE");
                  if (const std::string problem = TDemoRun::RecordTargetProblem(file); !problem.empty())
                    throw EUsageError("cannot record into " + file + ": " + problem);
                  auto run = std::make_shared<std::unique_ptr<TDemoRun>>();
                  o.FormMade.push_back([run, file](TForm1& form, const TRunOptions& options) {
                    if (options.ShipGiven)
                      throw EUsageError("--record cannot go with --ship: a demo starts from the world its seed builds");
                    // Its lines go to stderr: the standard output may be carrying the state.
                    *run = std::make_unique<TDemoRun>(options.Program, nullptr, [](const std::string& line) {
                      std::fprintf(stderr, "%s\n", line.c_str());
                    });
                    if (!(*run)->Record(file, options.Seed)) throw ECommandFailed((*run)->Status());
                    AttachDemoRun(form, **run);
                  });
                  o.Finished.push_back([run](int status) {
                    const int recorded = (*run)->Finish();
                    return recorded != DemoStatusOk ? recorded : status;
                  });
                }});
}
