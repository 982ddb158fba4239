// The keyboard: the scan-code table, the key map, both reading paths, activation and the latch.
#include "InputFixture.h"

namespace {

constexpr int scUp = 0xC8, scLeft = 0xCB, scRight = 0xCD, scLeftShift = 0x2A, scRightShift = 0x36;
constexpr int scApostrophe = 0x28, scD = 0x20, scI = 0x17, scF2 = 0x3C;

using KeyboardTest = InputFixture;

TEST(ScanCodeToVirtualKey, HasExactlyItsHundredEntries) {
  int mapped = 0;
  for (int sc = 0; sc < 256; ++sc) mapped += ScanCodeToVirtualKey(sc) != 0;
  EXPECT_EQ(mapped, 100);
  for (int sc : {0, 12, 41, 84, 85, 86, 89, 155, 158, 202, 204, 206, 212, 222, 255})
    EXPECT_EQ(ScanCodeToVirtualKey(sc), 0) << sc;
  EXPECT_EQ(ScanCodeToVirtualKey(-1), 0);
  EXPECT_EQ(ScanCodeToVirtualKey(256), 0);
  // Both Shift keys, the apostrophe sharing the Right arrow's code, the keypad arrows.
  EXPECT_EQ(ScanCodeToVirtualKey(scLeftShift), 16);
  EXPECT_EQ(ScanCodeToVirtualKey(scRightShift), 16);
  EXPECT_EQ(ScanCodeToVirtualKey(scApostrophe), 39);
  EXPECT_EQ(ScanCodeToVirtualKey(scRight), 39);
  EXPECT_EQ(ScanCodeToVirtualKey(52), 46);
  EXPECT_EQ(ScanCodeToVirtualKey(211), 46);
  const int keypad[] = {103, 104, 105, 109, 100, 101, 102, 107, 97, 98, 99, 96, 110};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(ScanCodeToVirtualKey(71 + i), keypad[i]);
  EXPECT_EQ(ScanCodeToVirtualKey(11), 48);
  EXPECT_EQ(ScanCodeToVirtualKey(68), 121);
  EXPECT_EQ(ScanCodeToVirtualKey(88), 123);
  EXPECT_EQ(ScanCodeToVirtualKey(184), 18);
  EXPECT_EQ(ScanCodeToVirtualKey(221), 93);
}

TEST_F(KeyboardTest, NewKeyboardHasTheDefaultMap) {
  input = std::make_unique<TDXInput>(form.get());
  const auto& a = input->Keyboard->Assigns;
  EXPECT_EQ(a[stUp][0], 75);
  EXPECT_EQ(a[stUp][1], 38);
  EXPECT_EQ(a[stUp][2], 104);
  EXPECT_EQ(a[stRight][2], 102);
  EXPECT_EQ(a[stButton2][1], 13);
  EXPECT_EQ(a[stButton9][0], 113);
  EXPECT_EQ(a[stButton9][1], 0);
  EXPECT_EQ(a[stButton3][0], 0);
  EXPECT_EQ(a[stButton32][0], 0);
}

TEST_F(KeyboardTest, ArrowsWithEitherShiftThroughDirectInput) {
  Start();
  ASSERT_NE(input->DirectInput(), nullptr);
  ASSERT_NE(input->Keyboard->Device(), nullptr);
  backend.ScanCodes[scUp] = 0x80;
  backend.ScanCodes[scLeftShift] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stUp, stButton32}));
  backend.ScanCodes[scUp] = 0;
  backend.ScanCodes[scLeftShift] = 0;
  backend.ScanCodes[scLeft] = 0x80;
  backend.ScanCodes[scRightShift] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stLeft, stButton32}));
  // Virtual keys are not what this path reads.
  std::memset(backend.ScanCodes, 0, 256);
  backend.VirtualKeys[38] = 0x80;
  EXPECT_TRUE(Poll().Empty());
}

TEST_F(KeyboardTest, ArrowsWithShiftThroughTheKeyboardState) {
  Start(/*directInput=*/false);
  EXPECT_EQ(input->DirectInput(), nullptr);
  EXPECT_TRUE(input->Keyboard->Initialized);
  backend.VirtualKeys[39] = 0x80;
  backend.VirtualKeys[16] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stRight, stButton32}));
  backend.ScanCodes[scUp] = 0x80;  // scan codes are not read on this path
  EXPECT_EQ(Poll(), (TInputStates{stRight, stButton32}));
}

TEST_F(KeyboardTest, ApostropheTurnsRightButKeypadArrowsDoNothing) {
  Start();
  backend.ScanCodes[scApostrophe] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stRight}));
  backend.ScanCodes[scApostrophe] = 0;
  for (int sc : {0x48, 0x4B, 0x4D, 0x50}) backend.ScanCodes[sc] = 0x80;
  EXPECT_TRUE(Poll().Empty());
}

TEST_F(KeyboardTest, CodeZeroAndCodesOutsideOneTo255NeverSetAState) {
  Start();
  TKeyboard& kb = *input->Keyboard;
  std::memset(kb.Assigns, 0, sizeof kb.Assigns);
  kb.Assigns[stUp][1] = 0;
  kb.Assigns[stDown][0] = 256;   // would read KeyTable[0] if taken modulo 256
  kb.Assigns[stLeft][2] = -256;
  kb.Assigns[stRight][0] = 512;
  // Scan code 12 is unmapped, so holding it marks KeyTable[0].
  backend.ScanCodes[12] = 0x80;
  EXPECT_TRUE(Poll().Empty());
  EXPECT_EQ(kb.KeyTable[0], 0x80);

  // The fall-back path with the window system reporting something at code 0.
  input.reset();
  Start(false);
  TKeyboard& kb2 = *input->Keyboard;
  std::memset(kb2.Assigns, 0, sizeof kb2.Assigns);
  kb2.Assigns[stDown][0] = 256;
  backend.VirtualKeys[0] = 0x80;
  EXPECT_TRUE(Poll().Empty());
}

TEST_F(KeyboardTest, DIAndF2SetOnlyStatesTheGameDoesNotRead) {
  Start();
  backend.ScanCodes[scD] = backend.ScanCodes[scI] = backend.ScanCodes[scF2] = 0x80;
  TInputStates s = Poll();
  EXPECT_EQ(s, (TInputStates{stButton1, stButton2, stButton9}));
  for (TInputState used : {stUp, stLeft, stRight, stButton32}) EXPECT_FALSE(s.Contains(used));
}

TEST_F(KeyboardTest, KeyboardDeviceThatCannotBeMadeGivesNoInputAtAll) {
  SetSystemKeyboardAvailable(false);
  Start();
  ASSERT_NE(input->DirectInput(), nullptr);
  EXPECT_FALSE(input->Keyboard->Initialized);
  backend.ScanCodes[scUp] = 0x80;
  backend.VirtualKeys[38] = 0x80;  // and no fall-back to the window system's state
  EXPECT_TRUE(Poll().Empty());
}

TEST_F(KeyboardTest, DeactivatedWindowEmptiesEveryDeviceAndClearsTheLatch) {
  backend.Joysticks.resize(1);
  Start(true, 0);
  backend.ScanCodes[scUp] = 0x80;
  backend.Joysticks[0].Buttons = 1;
  EXPECT_EQ(Poll(), (TInputStates{stUp, stButton1}));
  SetForegroundWindow(OtherWindow());
  EXPECT_TRUE(Poll().Empty());
  EXPECT_TRUE(input->Keyboard->DeviceStates.Empty());
  EXPECT_TRUE(input->Joystick->DeviceStates.Empty());
  // Back in front: the devices lost their input while away and are acquired again.
  SetForegroundWindow(FormWindow());
  EXPECT_EQ(Poll(), (TInputStates{stUp, stButton1}));

  // Without ActiveOnly the devices keep reading in the background.
  input->SetActiveOnly(false);
  SetForegroundWindow(OtherWindow());
  EXPECT_EQ(Poll(), (TInputStates{stUp, stButton1}));
}

TEST_F(KeyboardTest, StateRemovedByTheProgramReturnsOnlyAfterReleaseAndPress) {
  Start();
  backend.ScanCodes[scUp] = 0x80;
  EXPECT_TRUE(Poll().Contains(stUp));
  input->InputStates.Exclude(stUp);
  EXPECT_FALSE(Poll().Contains(stUp));
  EXPECT_FALSE(Poll().Contains(stUp));
  backend.ScanCodes[scUp] = 0;
  EXPECT_FALSE(Poll().Contains(stUp));
  backend.ScanCodes[scUp] = 0x80;
  EXPECT_TRUE(Poll().Contains(stUp));
  EXPECT_EQ(input->PolledStates, (TInputStates{stUp}));
}

TEST_F(KeyboardTest, UnboundDeviceIsPolledButNotMerged) {
  Start();
  input->Keyboard->BindInputStates = false;
  backend.ScanCodes[scUp] = 0x80;
  EXPECT_TRUE(Poll().Empty());
  EXPECT_EQ(input->Keyboard->DeviceStates, (TInputStates{stUp}));
}

TEST_F(KeyboardTest, DisablingTheKeyboardClosesIt) {
  Start();
  input->Keyboard->SetEnabled(false);
  EXPECT_FALSE(input->Keyboard->Initialized);
  EXPECT_EQ(input->Keyboard->Device(), nullptr);
  backend.ScanCodes[scUp] = 0x80;
  EXPECT_TRUE(Poll().Empty());
  input->Keyboard->SetEnabled(true);
  EXPECT_TRUE(Poll().Contains(stUp));
}

TEST_F(KeyboardTest, StoredKeyMapIsLittleEndianThreePerState) {
  input = std::make_unique<TDXInput>(form.get());
  std::uint8_t block[TKeyboard::AssignsSize] = {};
  block[0] = 38;                  // stUp, first slot
  block[4 * (3 * 35)] = 16;       // stButton32, first slot
  block[4 * 5 + 1] = 0x01;        // stDown, third slot: 256
  block[4 * 6 + 3] = 0xFF;        // stLeft, first slot: negative
  TKeyboard& kb = *input->Keyboard;
  EXPECT_FALSE(kb.ReadAssigns(block, sizeof block - 1));
  EXPECT_EQ(kb.Assigns[stUp][0], 75);  // unchanged by a refused block
  ASSERT_TRUE(kb.ReadAssigns(block, sizeof block));
  EXPECT_EQ(kb.Assigns[stUp][0], 38);
  EXPECT_EQ(kb.Assigns[stUp][1], 0);
  EXPECT_EQ(kb.Assigns[stButton32][0], 16);
  EXPECT_EQ(kb.Assigns[stDown][2], 256);
  EXPECT_EQ(kb.Assigns[stLeft][0], static_cast<std::int32_t>(0xFF000000u));
  std::uint8_t back[TKeyboard::AssignsSize];
  kb.WriteAssigns(back);
  EXPECT_EQ(std::memcmp(back, block, sizeof block), 0);
}

}  // namespace
