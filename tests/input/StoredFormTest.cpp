// The input component read from a stored form: its configuration and the key map block.
#include <string>

#include "InputFixture.h"
#include "shell/Exception.h"
#include "shell/FormReader.h"

namespace {

// The game's key map as the stored block writes it: 108 little-endian codes, three per state.
std::string KeyMapBlock(std::size_t bytes = TKeyboard::AssignsSize) {
  std::uint8_t block[TKeyboard::AssignsSize] = {};
  auto set = [&block](TInputState s, std::uint8_t code) { block[12 * s] = code; };
  set(stUp, 38);
  set(stDown, 40);
  set(stLeft, 37);
  set(stRight, 39);
  set(stButton1, 68);
  set(stButton2, 73);
  set(stButton9, 113);
  set(stButton32, 16);
  static const char hex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < bytes; ++i) {
    if (i % 32 == 0) text += "\n      ";
    std::uint8_t b = i < sizeof block ? block[i] : 0;
    text += hex[b >> 4];
    text += hex[b & 15];
  }
  return text + "}";
}

std::string Form(const std::string& keyMapName, const std::string& block,
                 const std::string& extra = "") {
  return "object Form1: TForm\n"
         "  object DXInput: TDXInput\n"
         "    ActiveOnly = True\n"
         "    Joystick.BindInputStates = True\n"
         "    Joystick.Effects.Effects = {00}\n"  // the force-feedback effects: read, unused
         "    Joystick.Enabled = True\n"
         "    Joystick.ForceFeedback = False\n"
         "    Joystick.AutoCenter = True\n"
         "    Joystick.DeadZoneX = 50\n"
         "    Joystick.DeadZoneY = 50\n"
         "    Joystick.DeadZoneZ = 50\n"
         "    Joystick.ID = 1\n"
         "    Joystick.RangeX = 1000\n"
         "    Joystick.RangeY = 1000\n"
         "    Joystick.RangeZ = 1000\n"
         "    Keyboard.BindInputStates = True\n"
         "    Keyboard.Effects.Effects = {00}\n"
         "    Keyboard.Enabled = True\n"
         "    Keyboard.ForceFeedback = False\n"
         "    Keyboard." + keyMapName + " = " + block + "\n"
         "    Mouse.BindInputStates = False\n"
         "    Mouse.Effects.Effects = {00}\n"
         "    Mouse.Enabled = False\n"
         "    Mouse.ForceFeedback = False\n"
         "    UseDirectInput = True\n" + extra +
         "  end\n"
         "end\n";
}

class StoredFormTest : public InputFixture {
 protected:
  TDXInput* Read(const std::string& text) {
    RegisterInputClasses();
    form->Name = "Form1";
    ReadStoredForm(*form, text, "Form1.dfm");
    return dynamic_cast<TDXInput*>(form->FindComponent("DXInput"));
  }
};

TEST_F(StoredFormTest, KeyMapReadsUnderBothNames) {
  for (const char* name : {"Assigns", "Aissgns"}) {
    form = std::make_unique<TForm>(nullptr);
    SetForegroundWindow(FormWindow());
    TDXInput* in = Read(Form(name, KeyMapBlock()));
    ASSERT_NE(in, nullptr) << name;
    EXPECT_EQ(in->Keyboard->Assigns[stUp][0], 38) << name;
    EXPECT_EQ(in->Keyboard->Assigns[stUp][1], 0) << name;  // the default's second slot is gone
    EXPECT_EQ(in->Keyboard->Assigns[stButton32][0], 16) << name;
    EXPECT_EQ(in->Keyboard->Assigns[stButton1][1], 0) << name;
    // Loaded opened the devices: the keys work.
    backend.ScanCodes[0x36] = 0x80;  // right Shift
    backend.ScanCodes[0xCD] = 0x80;  // Right
    in->Update();
    EXPECT_EQ(in->InputStates, (TInputStates{stRight, stButton32})) << name;
    std::memset(backend.ScanCodes, 0, 256);
    form.reset();  // frees the component with its devices
  }
}

TEST_F(StoredFormTest, ConfigurationOfTheGame) {
  backend.Joysticks.resize(2);
  TDXInput* in = Read(Form("Assigns", KeyMapBlock()));
  ASSERT_NE(in, nullptr);
  EXPECT_TRUE(in->ActiveOnly());
  EXPECT_TRUE(in->UseDirectInput());
  EXPECT_NE(in->DirectInput(), nullptr);
  EXPECT_EQ(in->Joystick->ID(), 1);
  EXPECT_TRUE(in->Joystick->AutoCenter());
  EXPECT_EQ(in->Joystick->DeadZoneY(), 50);
  EXPECT_EQ(in->Joystick->RangeZ(), 1000);
  EXPECT_TRUE(in->Joystick->Initialized);
  EXPECT_NE(in->Joystick->Device(), nullptr);  // the second of the two
  EXPECT_FALSE(in->Mouse->Enabled());
  EXPECT_FALSE(in->Mouse->BindInputStates);
  backend.Joysticks[1].X = -32768;
  in->Update();
  EXPECT_EQ(in->InputStates, (TInputStates{stLeft}));
}

TEST_F(StoredFormTest, BadValuesNameTheLineAndTheProperty) {
  try {
    Read(Form("Assigns", KeyMapBlock(431)));
    FAIL() << "a short key map was accepted";
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("DXInput.Keyboard.Assigns"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("432"), std::string::npos) << e.what();
  }
  form = std::make_unique<TForm>(nullptr);
  EXPECT_THROW(Read(Form("Assigns", KeyMapBlock(), "    Joystick.ID = 'one'\n")), EReadError);
  form = std::make_unique<TForm>(nullptr);
  EXPECT_THROW(Read(Form("Assigns", KeyMapBlock(), "    Keyboard.Colour = 1\n")), EReadError);
  form = std::make_unique<TForm>(nullptr);
  EXPECT_THROW(Read(Form("Assigns", KeyMapBlock(), "    Pedal.Enabled = True\n")), EReadError);
}

}  // namespace
