// The real game on the headless backend for demo tests: one world per seed, either input path,
// scripted keys and joysticks, and frames ticked by the message loop as the timer runs them.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "demo/DemoFormat.h"
#include "framework/PlatformProc.h"
#include "game/Main.h"
#include "platform/Libraries.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"

// One running game. Made and destroyed in turn: the application and its form are process-wide.
class TDemoTestGame {
 public:
  TDemoTestGame(std::uint32_t seed, bool directInput, int joysticks = 2) {
    // A demo plays in a new process, where the ship's heading and velocity and the stars' trails
    // start at zero because nothing set them yet; a game made after another in this process must
    // start from the same.
    Player = TPlayer{};
    Stars = {};
    Backend.TimeOfDayMs = seed;
    Backend.Joysticks.resize(static_cast<std::size_t>(joysticks));
    SetBackend(&Backend);
    UnloadLibraries();
    SetLibraryAvailable("DInput.dll", directInput);
    ResetApplication();
    RegisterAppClasses();
    Application->Initialize();
    Application->CreateForm(Form);
    Application->BeginRun();
    // The window's first messages start the timer with the clock as it is: no tick yet.
    Application->ProcessMessagesAndIdle();
  }
  ~TDemoTestGame() {
    Application->EndRun();
    ResetApplication();
    UnloadLibraries();
    SetLibraryAvailable("DInput.dll", true);
    SetBackend(nullptr);
  }

  // One turn of the loop per 20 ms of fake time: exactly one tick of the frame timer.
  void Frame() {
    Backend.Clock += 20;
    Application->ProcessMessagesAndIdle();
  }

  // Holds these keys (scan code, virtual key) and nothing else.
  void Keys(std::initializer_list<std::pair<int, int>> keys) {
    std::memset(Backend.ScanCodes, 0, 256);
    std::memset(Backend.VirtualKeys, 0, 256);
    for (auto [scan, vk] : keys) {
      Backend.ScanCodes[scan] = 0x80;
      Backend.VirtualKeys[vk] = 0x80;
    }
  }
  // The stick and buttons of the joystick the stored form selects (the second).
  void Stick(std::int32_t x, std::int32_t y, std::uint32_t buttons = 0) {
    Backend.Joysticks[1].X = x;
    Backend.Joysticks[1].Y = y;
    Backend.Joysticks[1].Buttons = buttons;
  }

  THeadlessBackend Backend;
  TForm1* Form = nullptr;
};

// Keys as the game's key map reads them: (scan code, virtual key).
inline constexpr std::pair<int, int> KeyUp{0xC8, 38}, KeyLeft{0xCB, 37}, KeyRight{0xCD, 39}, KeyShift{0x2A, 16},
    KeyDown{0xD0, 40};

// A file name in the test's scratch folder, removed (with its part file) before and after.
class TScratchFile {
 public:
  explicit TScratchFile(const std::string& name) : Path(testing::TempDir() + "tarnyx-" + name) { Remove(); }
  ~TScratchFile() { Remove(); }
  void Remove() const {
    std::remove(Path.c_str());
    std::remove((Path + ".part").c_str());
  }
  std::vector<std::uint8_t> Bytes(const std::string& which = "") const {
    std::vector<std::uint8_t> bytes;
    if (std::FILE* f = std::fopen((Path + which).c_str(), "rb")) {
      int c;
      while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
      std::fclose(f);
    }
    return bytes;
  }
  void Write(const std::vector<std::uint8_t>& bytes) const {
    std::FILE* f = std::fopen(Path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::string Path;
};
