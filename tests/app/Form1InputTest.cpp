// The game's form polls its stored input component once per frame.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Form1.h"
#include "framework/PlatformProc.h"
#include "platform/Libraries.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"

namespace {

class Form1Input : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    UnloadLibraries();
    SetLibraryAvailable("DInput.dll", GetParam());
    backend.Joysticks.resize(2);
    ResetApplication();
    RegisterAppClasses();
    Application->Initialize();
    Application->CreateForm(form);
    Application->BeginRun();
  }
  void TearDown() override {
    Application->EndRun();
    ResetApplication();
    UnloadLibraries();
    SetLibraryAvailable("DInput.dll", true);
    SetBackend(nullptr);
  }

  // Runs one frame with exactly these scan codes (and their virtual keys) held.
  TInputStates Frame(std::initializer_list<std::pair<int, int>> keys) {
    std::memset(backend.ScanCodes, 0, 256);
    std::memset(backend.VirtualKeys, 0, 256);
    for (auto [scan, vk] : keys) {
      backend.ScanCodes[scan] = 0x80;
      backend.VirtualKeys[vk] = 0x80;
    }
    int ticks = form->DXTimer->FrameCount();
    for (int turn = 0; turn < 10 && form->DXTimer->FrameCount() == ticks; ++turn) {
      backend.Clock += 20;
      Application->ProcessMessagesAndIdle();
    }
    EXPECT_GT(form->DXTimer->FrameCount(), ticks);
    return form->DXInput->InputStates;
  }

  THeadlessBackend backend;
  TForm1* form = nullptr;
};

TEST_P(Form1Input, StoredKeyMapAndJoystickReachTheFrame) {
  ASSERT_NE(form->DXInput, nullptr);
  EXPECT_EQ(form->DXInput->Joystick->ID(), 1);
  EXPECT_EQ(form->DXInput->DirectInput() != nullptr, GetParam());
  EXPECT_EQ(Frame({{0xC8, 38}, {0x2A, 16}}), (TInputStates{stUp, stButton32}));
  EXPECT_EQ(Frame({{0xCB, 37}}), (TInputStates{stLeft}));
  EXPECT_EQ(Frame({{0x20, 'D'}, {0x17, 'I'}, {0x3C, 113}}), (TInputStates{stButton1, stButton2, stButton9}));
  EXPECT_TRUE(Frame({}).Empty());
  // The stored ID 1 is the second joystick.
  backend.Joysticks[0].X = -32768;
  EXPECT_TRUE(Frame({}).Empty());
  backend.Joysticks[1].X = 32767;
  EXPECT_EQ(Frame({}), (TInputStates{stRight}));
}

// The program's sound keys (M, - and =, the keypad's minus and plus) are no keys of the game: the
// stored key map assigns none of them, by the codes either path reads them as, and holding them
// gives no input state, so muting or changing the volume never reaches a flight or a demo.
TEST_P(Form1Input, TheSoundKeysAreNotInTheKeyMap) {
  ASSERT_NE(form->DXInput->Keyboard, nullptr);
  const std::pair<int, int> keys[] = {{0x32, 'M'}, {0x0C, 0xBD}, {0x0D, 0xBB}, {0x4A, 0x6D}, {0x4E, 0x6B}};
  for (auto [scan, vk] : keys) {
    for (auto& assigned : form->DXInput->Keyboard->Assigns)
      for (std::int32_t code : assigned) {
        EXPECT_NE(code, vk) << "scan code " << scan;
        // 0: the scan-code table gives the key no code at all, which no state can be assigned.
        if (ScanCodeToVirtualKey(scan) != 0) {
          EXPECT_NE(code, ScanCodeToVirtualKey(scan)) << "scan code " << scan;
        }
      }
    EXPECT_TRUE(Frame({{scan, vk}}).Empty()) << "scan code " << scan;
  }
  EXPECT_TRUE(Frame({keys[0], keys[1], keys[2], keys[3], keys[4]}).Empty());
}

INSTANTIATE_TEST_SUITE_P(Paths, Form1Input, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "DirectInput" : "FallBack"; });

}  // namespace
