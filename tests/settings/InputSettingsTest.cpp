// The settings' keys and joystick in the input component: a rebound key drives its state through
// the keyboard device, the other states keep their keys, and the defaults are the stored form's.
#include <fstream>
#include <iterator>
#include <string>

#include "settings/InputSettings.h"
#include "settings/KeyNames.h"
#include "settings/SettingsFile.h"
#include "tests/input/InputFixture.h"

namespace {

constexpr int scUp = 0xC8, scW = 0x11, scLeftShift = 0x2A, scRightShift = 0x36, scDown = 0xD0;
constexpr int scSemicolon = 0x27, scKeypad8 = 0x48;

using InputSettingsTest = InputFixture;

TSettings Read(const std::string& text) {
  TSettingsFile file = TSettingsFile::Parse(text, "s");
  EXPECT_TRUE(file.Messages().empty()) << (file.Messages().empty() ? "" : file.Messages()[0]);
  return file.Settings();
}

TEST_F(InputSettingsTest, AReboundKeyDrivesItsStateThroughTheKeyboardDevice) {
  Start();
  ASSERT_NE(input->Keyboard->Device(), nullptr);
  ApplyKeys(*input,
            Read("thrust = W, Keypad 8\nturn_left = Semicolon\nfine_control = Left Shift\n"));
  backend.ScanCodes[scW] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stUp}));
  backend.ScanCodes[scW] = 0;
  backend.ScanCodes[scKeypad8] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stUp}));
  backend.ScanCodes[scKeypad8] = 0;
  backend.ScanCodes[scUp] = 0x80;  // no longer a thrust key
  EXPECT_TRUE(Poll().Empty());
  backend.ScanCodes[scUp] = 0;
  backend.ScanCodes[scSemicolon] = 0x80;  // the device gives the character's code, 59
  EXPECT_EQ(Poll(), (TInputStates{stLeft}));
  backend.ScanCodes[scSemicolon] = 0;
  // The device does not tell the Shift keys apart: Left Shift is either.
  backend.ScanCodes[scRightShift] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stButton32}));
  backend.ScanCodes[scRightShift] = 0;
  // The states the settings do not name keep the stored form's keys.
  backend.ScanCodes[scDown] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stDown}));
  EXPECT_EQ(input->Keyboard->Assigns[stButton9][0], 113);
  EXPECT_EQ(input->Keyboard->Assigns[stUp][0], 'W');
  EXPECT_EQ(input->Keyboard->Assigns[stUp][1], 104);
  EXPECT_EQ(input->Keyboard->Assigns[stUp][2], 0);
  EXPECT_EQ(input->Keyboard->Assigns[stButton32][1], 0);
}

TEST_F(InputSettingsTest, ThroughTheKeyboardStateEachSideIsItsOwnKey) {
  Start(/*directInput=*/false);
  ASSERT_EQ(input->Keyboard->Device(), nullptr);
  ApplyKeys(*input, Read("fine_control = Left Shift\nturn_left = Semicolon\nthrust = none\n"));
  backend.VirtualKeys[0xA1] = 0x80;  // right Shift, as the back ends report it
  backend.VirtualKeys[0x10] = 0x80;
  EXPECT_TRUE(Poll().Empty());
  backend.VirtualKeys[0xA0] = 0x80;
  EXPECT_EQ(Poll(), (TInputStates{stButton32}));
  std::memset(backend.VirtualKeys, 0, 256);
  backend.VirtualKeys[0xBA] = 0x80;
  backend.VirtualKeys[38] = 0x80;  // Up: thrust has no key now
  EXPECT_EQ(Poll(), (TInputStates{stLeft}));
}

TEST_F(InputSettingsTest, TheDefaultsLeaveTheGameAsItIs) {
  Start();
  std::int32_t before[InputStateCount][3];
  std::memcpy(before, input->Keyboard->Assigns, sizeof before);
  TSettings defaults;
  ApplyKeys(*input, defaults);
  ApplyJoystick(*input, defaults);
  EXPECT_EQ(std::memcmp(before, input->Keyboard->Assigns, sizeof before), 0);
  EXPECT_EQ(input->Joystick->ID(), 1);
}

// The default keys are the key map of the stored form itself, read from its block.
TEST(SettingsDefaults, AreTheStoredFormsKeys) {
  std::ifstream in(std::string(TARNYX_SOURCE_DIR) + "/assets/Form1.dfm");
  std::string form((std::istreambuf_iterator<char>(in)), {});
  std::size_t start = form.find("Keyboard.Assigns = {");
  ASSERT_NE(start, std::string::npos);
  std::size_t end = form.find('}', start);
  std::vector<std::uint8_t> block;
  int nibbles = 0, byte = 0;
  for (std::size_t i = form.find('{', start) + 1; i < end; ++i) {
    char c = form[i];
    if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
    byte =
        byte * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
    if (++nibbles % 2 == 0) block.push_back(static_cast<std::uint8_t>(std::exchange(byte, 0)));
  }
  ASSERT_EQ(block.size(), 432u);
  auto code = [&](TInputState s, int slot) {
    return block[static_cast<std::size_t>(12 * s + 4 * slot)];
  };
  const TInputState states[] = {stUp, stLeft, stRight, stButton32};
  for (int a = 0; a < KeyActionCount; ++a) {
    const std::vector<std::uint8_t> keys = TSettings::DefaultKeys()[static_cast<std::size_t>(a)];
    for (int slot = 0; slot < 3; ++slot) {
      int expected = slot < static_cast<int>(keys.size()) ? KeyboardCodeFor(keys[slot], true) : 0;
      EXPECT_EQ(code(states[a], slot), expected) << "action " << a << " slot " << slot;
    }
  }
}

TEST_F(InputSettingsTest, TheFirstJoystickSteersWithOneAttached) {
  backend.Joysticks.resize(1);
  backend.Joysticks[0].X = -32768;
  Start();
  EXPECT_TRUE(Poll().Empty());  // the stored position is the second joystick
  ApplyJoystick(*input, Read("joystick = first\n"));
  EXPECT_EQ(Poll(), (TInputStates{stLeft}));
  ApplyJoystick(*input, Read("joystick = 2\n"));
  EXPECT_EQ(input->Joystick->ID(), 1);
  EXPECT_TRUE(Poll().Empty());
  ApplyJoystick(*input, Read("joystick = 1\n"));
  EXPECT_EQ(Poll(), (TInputStates{stLeft}));
}

TEST(SettingsKeyboardCodes, EveryKeyTheReaderTakesIsSeenByTheDevice) {
  for (const TKeyName& k : KeyNameTable()) {
    TSettings s;
    std::string error;
    bool taken = ParseSettingValue(skThrust, k.Name, s, error);
    EXPECT_EQ(taken, KeyboardCodeFor(k.Code, true) != 0) << k.Name << ": " << error;
    EXPECT_EQ(KeyboardCodeFor(k.Code, false), k.Code);
  }
}

}  // namespace
