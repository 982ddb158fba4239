// The game's form with its world built and its display running on the headless backend, for
// benchmarks of whole frames.
#pragma once

#include <cstdint>

#include "app/Form1.h"
#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"
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

