// The page's benchmark program: the game's form on the web back end, its frames timed one by one
// in the scenes of the native frame benchmark (bench/GameScenes.h), each flipped into the canvas.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "bench/GameScenes.h"
#include "backends/web/WebBackend.h"
#include "shell/Application.h"

namespace {

TWebBackend backend;
bool ready = false;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main() {
  backend.FixTimeOfDay(45296789);  // the native benchmark's world
  SetBackend(&backend);
  RegisterAppClasses();
  try {
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->BeginRun();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarnyx-bench: %s\n", e.what());
    return 1;
  }
  ready = true;
  return 0;
}

extern "C" {

// Runs count frames of a scene (0: open space, 1: the busiest frame) and returns, as JSON, the
// median and the largest time of a frame, the median time of its present and of the frame without
// it, in milliseconds.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_bench(int scene, int count) {
  static std::string result;
  if (!ready || count <= 0) return "null";
  if (scene == 0) scenes::GoToOpenSpace();
  if (scene == 1) scenes::SetUpBusiestWorld();
  std::vector<double> frames, presents, rests;
  for (int i = 0; i < count; ++i) {
    if (scene == 1) scenes::ArriveAtBusiestPlanet();
    const double start = emscripten_get_now();
    Form1->DXTimerTimer(Form1, 0);
    frames.push_back(emscripten_get_now() - start);
    presents.push_back(backend.LastPresentMs());
    rests.push_back(frames.back() - presents.back());
  }
  char text[200];
  std::snprintf(text, sizeof text,
                "{\"median\":%.4f,\"max\":%.4f,\"presentMedian\":%.4f,\"withoutPresentMedian\":%.4f}",
                Median(frames), *std::max_element(frames.begin(), frames.end()), Median(presents),
                Median(rests));
  result = text;
  return result.c_str();
}

}  // extern "C"
