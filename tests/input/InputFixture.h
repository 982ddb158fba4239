// A form with an input component on the headless backend, for the input tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "input/DXInput.h"
#include "framework/PlatformProc.h"
#include "platform/Libraries.h"
#include "platform/Windows.h"
#include "backends/headless/HeadlessBackend.h"

class InputFixture : public testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetWindows();
    UnloadLibraries();
    form = std::make_unique<TForm>(nullptr);
    other = CreateWindowEx(0, "Other", "Other", 0, 0, 0, 0, 0, nullptr, DefWindowProc);
    SetForegroundWindow(FormWindow());
  }
  void TearDown() override {
    input.reset();
    form.reset();
    ResetWindows();
    UnloadLibraries();
    SetLibraryAvailable("DInput.dll", true);
    SetSystemKeyboardAvailable(true);
    EXPECT_EQ(SharedDirectInputCount(), 0);
    EXPECT_EQ(DirectInputLiveObjects(), 0);
    SetBackend(nullptr);
  }

  HWND FormWindow() { return form->Handle(); }
  HWND OtherWindow() { return other; }

  // Creates the component as the stored form would (the game's key map, the given joystick ID),
  // then finishes loading it.
  TDXInput& Start(bool directInput = true, int joystickId = 1) {
    UnloadLibraries();
    SetLibraryAvailable("DInput.dll", directInput);
    input = std::make_unique<TDXInput>(form.get());
    input->ComponentState |= csLoading;
    input->Joystick->SetID(joystickId);
    TKeyboard& kb = *input->Keyboard;
    std::memset(kb.Assigns, 0, sizeof kb.Assigns);
    kb.Assigns[stUp][0] = 38;
    kb.Assigns[stDown][0] = 40;
    kb.Assigns[stLeft][0] = 37;
    kb.Assigns[stRight][0] = 39;
    kb.Assigns[stButton1][0] = 68;
    kb.Assigns[stButton2][0] = 73;
    kb.Assigns[stButton9][0] = 113;
    kb.Assigns[stButton32][0] = 16;
    input->Loaded();
    return *input;
  }

  void Send(UINT msg, WPARAM wParam = 0) { form->Perform(msg, wParam); }

  // The latched states after one poll.
  TInputStates Poll() {
    input->Update();
    return input->InputStates;
  }

  THeadlessBackend backend;
  std::unique_ptr<TForm> form;
  HWND other = nullptr;
  std::unique_ptr<TDXInput> input;
};
