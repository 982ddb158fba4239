// The game's form with its world built and its display running on the headless backend, for
// benchmarks of whole frames.
#pragma once

#include <cmath>
#include <cstdint>

#include "app/Form1.h"
#include "game/Main.h"
#include "platform/headless/HeadlessBackend.h"
#include "shell/Application.h"

struct TRunningGame {
  THeadlessBackend Backend;
  TForm1* Form = nullptr;
  explicit TRunningGame(std::uint32_t seed = 45296789) {
    Backend.TimeOfDayMs = seed;
    SetBackend(&Backend);
    ResetApplication();
    RegisterAppClasses();
    Application->Initialize();
    Application->CreateForm(Form);
    Application->BeginRun();
  }
  ~TRunningGame() {
    Application->EndRun();
    ResetApplication();
    SetBackend(nullptr);
  }
  void Frame() { Form->DXTimerTimer(Form, 0); }
};

// Puts the ship at a point of the world at least 3000 from every planet centre.
inline void GoToOpenSpace() {
  for (double x = 0;; x += 500) {
    bool open = true;
    for (const auto& p : Planets) open &= std::hypot(p->X - x, p->Y) >= 3000;
    if (open) {
      Player.X = x;
      Player.Y = 0;
      return;
    }
  }
}
