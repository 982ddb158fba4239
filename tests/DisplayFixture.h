// A running display for tests of what draws on it: a borderless 1024x768 form with the game's
// display settings, shown on the headless backend, so the frame surface exists.
#pragma once

#include <gtest/gtest.h>

#include "display/DXDraw.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"

// A borderless 1024x768 form with a display of the game's settings on it, not yet shown.
inline TDXDraw* NewGameDisplay(TForm*& form) {
  form = new TForm(Application);
  form->BorderStyle = bsNone;
  form->SetBounds(0, 0, 1024, 768);
  auto* draw = new TDXDraw(form);
  draw->SetParent(form);
  draw->SetOptions(0x018D);
  draw->Display().SetWidth(1024);
  draw->Display().SetHeight(768);
  draw->SetBounds(0, 0, 1024, 768);
  return draw;
}

class DisplayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetApplication();
    draw = NewGameDisplay(form);
    form->Show();
    ASSERT_TRUE(draw->Initialized());
  }
  void TearDown() override {
    ResetApplication();
    SetBackend(nullptr);
  }
  // The frame surface's pixel, through its own pixel access.
  std::uint32_t At(int x, int y) { return draw->Surface->Pixels(x, y); }
  int CountOnSurface(std::uint32_t value) {
    int n = 0;
    auto& s = *draw->Surface;
    if (!s.Lock()) return -1;
    for (int y = 0; y < 768; ++y) {
      const auto* row = static_cast<const std::uint8_t*>(s.LockSurfaceDesc.lpSurface) + y * s.LockSurfaceDesc.lPitch;
      for (int x = 0; x < 1024; ++x) n += row[x] == value;
    }
    s.Unlock();
    return n;
  }

  THeadlessBackend backend;
  TForm* form = nullptr;
  TDXDraw* draw = nullptr;
};
