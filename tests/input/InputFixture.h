// A form with an input component on the headless backend, for the input tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "input/DXInput.h"
#include "platform/Libraries.h"
#include "platform/headless/HeadlessBackend.h"

class InputFixture : public testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    form.Handle = FormWindow();
    SetForegroundWindow(form.Handle);
  }
  void TearDown() override {
    input.reset();
    SetLibraryAvailable("DInput.dll", true);
    SetSystemKeyboardAvailable(true);
    SetForegroundWindow(nullptr);
    EXPECT_EQ(SharedDirectInputCount(), 0);
    EXPECT_EQ(DirectInputLiveObjects(), 0);
    SetBackend(nullptr);
  }

  static HWND FormWindow() { return reinterpret_cast<HWND>(std::uintptr_t{0x100}); }
  static HWND OtherWindow() { return reinterpret_cast<HWND>(std::uintptr_t{0x200}); }

  // Creates the component as the stored form would, then finishes loading it.
  TDXInput& Start(bool directInput = true, int joystickId = 1) {
    SetLibraryAvailable("DInput.dll", directInput);
    input = std::make_unique<TDXInput>(&form);
    input->TComponent::Loading = true;
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

  void Send(UINT msg, WPARAM wParam = 0) {
    input_shim::TMessage m{msg, wParam, 0, 0};
    form.WindowProc(m);
  }

  // The states of one poll with exactly these scan codes (and virtual keys) held.
  TInputStates Poll() {
    input->Update();
    return input->InputStates;
  }

  THeadlessBackend backend;
  TForm form{nullptr};
  std::unique_ptr<TDXInput> input;
};
