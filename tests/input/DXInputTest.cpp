// The input component: the state set, the shared DirectInput object, the mouse and the errors.
#include "InputFixture.h"

namespace {

using DXInputTest = InputFixture;

TEST(InputStates, FiveBytesWithButtonNAtOrdinalNPlusThree) {
  TInputStates s{stUp, stButton1, stButton9, stButton32};
  EXPECT_EQ(s.Bytes[0], 0x11);
  EXPECT_EQ(s.Bytes[1], 0x10);
  EXPECT_EQ(s.Bytes[4], 0x08);
  EXPECT_EQ(ButtonState(1), stButton1);
  EXPECT_EQ(ButtonState(32), stButton32);
  EXPECT_EQ(static_cast<int>(stButton32), 35);
  s.Exclude(stButton9);
  EXPECT_FALSE(s.Contains(stButton9));
  EXPECT_EQ(s + TInputStates{stLeft}, (TInputStates{stUp, stLeft, stButton1, stButton32}));
}

TEST_F(DXInputTest, DevicesInOrderWithTheirDefaults) {
  input = std::make_unique<TDXInput>(form.get());
  ASSERT_EQ(input->Devices().size(), 3u);
  EXPECT_EQ(input->Devices()[0], input->Joystick.get());
  EXPECT_EQ(input->Devices()[1], input->Keyboard.get());
  EXPECT_EQ(input->Devices()[2], input->Mouse.get());
  EXPECT_TRUE(input->ActiveOnly());
  EXPECT_TRUE(input->UseDirectInput());
  EXPECT_FALSE(input->Mouse->Enabled());
  EXPECT_FALSE(input->Mouse->BindInputStates);
  EXPECT_TRUE(input->Keyboard->Enabled());
  EXPECT_FALSE(input->Keyboard->Initialized);  // nothing opens before loading ends
}

TEST_F(DXInputTest, NeedsAFormAmongItsOwners) {
  TComponent loose(nullptr);
  try {
    TDXInput orphan(&loose);
    FAIL() << "constructed without a form";
  } catch (const EDXInputError& e) {
    EXPECT_STREQ(e.what(), "Form not found");
  }
  TComponent middle(form.get());  // a form further up the chain is found
  TDXInput nested(&middle);
  EXPECT_EQ(nested.Form(), form.get());
}

TEST_F(DXInputTest, ComponentsShareOneCountedDirectInputObject) {
  Start();
  TDXInput second(form.get());
  second.Loaded();
  EXPECT_EQ(second.DirectInput(), input->DirectInput());
  EXPECT_EQ(SharedDirectInputCount(), 2);
  second.SetUseDirectInput(false);
  EXPECT_EQ(second.DirectInput(), nullptr);
  EXPECT_EQ(SharedDirectInputCount(), 1);
  EXPECT_EQ(second.Keyboard->Device(), nullptr);
  EXPECT_TRUE(second.Keyboard->Initialized);  // now through the window system's keyboard state
}

TEST_F(DXInputTest, WithoutDInputTheFallBacksRunSilently) {
  Start(false);
  EXPECT_EQ(input->DirectInput(), nullptr);
  EXPECT_EQ(SharedDirectInputCount(), 0);
  // A later request tries the library again.
  SetLibraryAvailable("DInput.dll", true);
  input->SetUseDirectInput(false);
  input->SetUseDirectInput(true);
  EXPECT_NE(input->DirectInput(), nullptr);
}

TEST_F(DXInputTest, EnabledMouseNeedsDirectInput) {
  Start(false);
  try {
    input->Mouse->SetEnabled(true);
    FAIL() << "mouse enabled without DirectInput";
  } catch (const EDXInputError& e) {
    EXPECT_STREQ(e.what(), "DirectInput is necessary to use the mouse");
  }
  input.reset();
  Start(true);
  input->Mouse->SetEnabled(true);  // allowed, but this platform has no mouse to open
  EXPECT_FALSE(input->Mouse->Initialized);
}

TEST_F(DXInputTest, CooperativeLevelsFollowActiveOnlyAndAutoCenter) {
  Start();
  EXPECT_EQ(input->Keyboard->CooperativeLevel(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
  EXPECT_EQ(input->Joystick->CooperativeLevel(), 6u);
  input->SetActiveOnly(false);
  EXPECT_EQ(input->Keyboard->CooperativeLevel(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
  input->Joystick->SetAutoCenter(false);
  EXPECT_EQ(input->Joystick->CooperativeLevel(), 5u);
}

TEST_F(DXInputTest, WindowCreationSetsTheLevelsOnTheNewWindow) {
  // A form whose window is made only after loading: the foreground level waits for it.
  form.reset();
  form = std::make_unique<TForm>(nullptr);
  SetForegroundWindow(OtherWindow());
  Start();
  IDirectInputDeviceA* kb = input->Keyboard->Device();
  ASSERT_NE(kb, nullptr);
  EXPECT_EQ(kb->Acquire(), DI_OK);  // still the background level
  kb->Unacquire();
  form->Handle();                   // WM_CREATE
  EXPECT_EQ(kb->Acquire(), DIERR_OTHERAPPHASPRIO);  // foreground, on the new window
  SetForegroundWindow(FormWindow());  // WM_ACTIVATEAPP and WM_ACTIVATE acquire it
  EXPECT_EQ(kb->Acquire(), DI_NOEFFECT);
  backend.ScanCodes[0xC8] = 0x80;
  EXPECT_TRUE(Poll().Contains(stUp));
}

}  // namespace
