// The real game form on the headless backend, for tests that run whole frames: a fixed world,
// keys held by hand, frames ticked one at a time, and the presented picture to look at.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/Form1.h"
#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"

class GameFixture : public ::testing::Test {
 protected:
  // Scan codes of the keys the game reads.
  static constexpr std::uint8_t KeyUp = 0xC8, KeyLeft = 0xCB, KeyRight = 0xCD, KeyShift = 0x2A;

  void SetUp() override {
    backend.TimeOfDayMs = 45296789;
    SetBackend(&backend);
    ResetApplication();
    RegisterAppClasses();
    Application->Initialize();
    Application->SetTitle("Tarnyx");
    Application->CreateForm(form);
    Application->BeginRun();  // shows the form: the display starts and the pictures are made
    ASSERT_TRUE(form->DXDraw->Initialized());
    ASSERT_NE(form->DXImageList, nullptr);
  }
  void TearDown() override {
    Application->EndRun();
    ResetApplication();
    SetBackend(nullptr);
  }

  void Hold(std::uint8_t scanCode, bool down = true) {
    backend.ScanCodes[scanCode] = down ? 0x80 : 0;
  }
  void ReleaseAll() {
    for (auto& k : backend.ScanCodes) k = 0;
  }
  // One frame, as the timer would run it.
  void Frame() { form->DXTimerTimer(form, 0); }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }

  // The last presented frame's pixel.
  std::uint8_t At(int x, int y) const {
    return backend.Frame[static_cast<std::size_t>(y) * backend.FrameWidth + x];
  }
  std::vector<std::uint8_t> Shown() const { return backend.Frame; }

  // Every planet moved far out of the way, so that a test can set up the sky it needs.
  static void ClearSky() {
    for (int i = 0; i < PlanetCount; ++i) {
      Planets[i]->X = 1e6 + 5000.0 * i;
      Planets[i]->Y = 1e6;
    }
  }
  static void ResetShip() {
    Player.X = 0;
    Player.Y = 0;
    Player.VX = 0;
    Player.VY = 0;
    Player.Heading = 0;
    Player.Hull = 100;
  }

  THeadlessBackend backend;
  TForm1* form = nullptr;
};

// The bounding box of the pixels that differ between two frames; empty when none does.
struct TBox {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;  // Right and Bottom inclusive
  int Count = 0;
  bool Empty() const { return Count == 0; }
};

inline TBox Difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                       int width) {
  TBox box;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] == b[i]) continue;
    int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
    box.Left = std::min(box.Left, x);
    box.Right = std::max(box.Right, x);
    box.Top = std::min(box.Top, y);
    box.Bottom = std::max(box.Bottom, y);
    ++box.Count;
  }
  return box;
}
