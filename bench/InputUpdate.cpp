// One frame's input poll: the component's Update with a keyboard and a joystick, on both paths.
#include <benchmark/benchmark.h>

#include "framework/PlatformProc.h"
#include "input/DXInput.h"
#include "platform/Libraries.h"
#include "platform/Windows.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

void InputUpdate(benchmark::State& state, bool directInput) {
  THeadlessBackend backend;
  SetBackend(&backend);
  ResetWindows();
  UnloadLibraries();
  SetLibraryAvailable("DInput.dll", directInput);
  backend.Joysticks.resize(1);
  backend.Joysticks[0].X = -32768;
  backend.ScanCodes[0xC8] = 0x80;
  backend.VirtualKeys[38] = 0x80;
  {
    TForm form(nullptr);
    SetForegroundWindow(form.Handle());
    TDXInput input(&form);
    input.Joystick->SetID(0);
    input.Loaded();
    for (auto _ : state) {
      input.Update();
      benchmark::DoNotOptimize(input.InputStates);
    }
  }
  ResetWindows();
  UnloadLibraries();
  SetLibraryAvailable("DInput.dll", true);
  SetBackend(nullptr);
}

void BM_InputUpdateDirectInput(benchmark::State& state) { InputUpdate(state, true); }
void BM_InputUpdateFallBack(benchmark::State& state) { InputUpdate(state, false); }

}  // namespace

BENCHMARK(BM_InputUpdateDirectInput);
BENCHMARK(BM_InputUpdateFallBack);
BENCHMARK_MAIN();
