// TKeyboard: the scan-code table, the key map and the keyboard poll.
#include "input/Keyboard.h"

#include <array>
#include <cstring>

#include "input/DXInput.h"
#include "platform/Windows.h"

namespace {

// The 100 scan codes the table knows, with their virtual-key codes.
constexpr std::array<BYTE, 256> MakeScanCodeTable() {
  std::array<BYTE, 256> t{};
  auto run = [&t](int first, std::initializer_list<int> codes) {
    for (int c : codes) t[static_cast<std::size_t>(first++)] = static_cast<BYTE>(c);
  };
  run(1, {27});
  run(2, {49, 50, 51, 52, 53, 54, 55, 56, 57, 48});
  run(13, {61, 8, 9});
  run(16, {81, 87, 69, 82, 84, 89, 85, 73, 79, 80, 91, 93, 13, 17});
  run(30, {65, 83, 68, 70, 71, 72, 74, 75, 76, 59, 39});
  run(42, {16, 92, 90, 88, 67, 86, 66, 78, 77, 44, 46, 47, 16, 42, 18, 32, 20});
  run(59, {112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 144, 145});
  run(71, {103, 104, 105, 109, 100, 101, 102, 107, 97, 98, 99, 96, 110});
  run(87, {122, 123});
  run(156, {13, 17});
  run(181, {111});
  run(184, {18});
  run(199, {36, 38, 33});
  run(203, {37});
  run(205, {39});
  run(207, {35, 40, 34, 45, 46});
  run(219, {91, 92, 93});
  return t;
}
constexpr std::array<BYTE, 256> scanCodeTable = MakeScanCodeTable();

// The map of a new keyboard: vi-style letters, the arrows and the keypad arrows for the
// directions; Z/Space, X/Return and F2 for buttons 1, 2 and 9.
void DefaultAssigns(std::int32_t assigns[InputStateCount][3]) {
  std::memset(assigns, 0, sizeof(std::int32_t) * InputStateCount * 3);
  auto set = [assigns](TInputState s, std::int32_t a, std::int32_t b, std::int32_t c) {
    assigns[s][0] = a;
    assigns[s][1] = b;
    assigns[s][2] = c;
  };
  set(stUp, 75, 38, 104);
  set(stDown, 74, 40, 98);
  set(stLeft, 72, 37, 100);
  set(stRight, 76, 39, 102);
  set(stButton1, 90, 32, 0);
  set(stButton2, 88, 13, 0);
  set(stButton9, 113, 0, 0);
}

}  // namespace

BYTE ScanCodeToVirtualKey(int scanCode) {
  if (scanCode < 0 || scanCode > 255) return 0;
  return scanCodeTable[static_cast<std::size_t>(scanCode)];
}

TKeyboard::TKeyboard(TCustomDXInput* dxInput) : TCustomInput(dxInput) { DefaultAssigns(Assigns); }

void TKeyboard::Finalize() {
  TCustomInput::Finalize();
  std::memset(KeyTable, 0, sizeof KeyTable);
}

void TKeyboard::Initialize() {
  Finalize();
  if (!Enabled() || Designing()) return;
  if (IDirectInputA* di = DXInput()->DirectInput()) {
    // Without the keyboard device there is no keyboard at all: no fall-back to the window
    // system's keyboard state while DirectInput is in use.
    if (di->CreateDevice(GUID_SysKeyboard, &device_, nullptr) != DI_OK) {
      device_ = nullptr;
      return;
    }
    device_->SetDataFormat(&c_dfDIKeyboard);
  }
  ButtonCount = 32;
  Initialized = true;
}

void TKeyboard::Update() {
  std::memset(KeyTable, 0, sizeof KeyTable);
  DeviceStates = {};
  if (!Initialized || Inactive()) return;
  if (device_) {
    BYTE scanCodes[256];
    if (GetDeviceState(sizeof scanCodes, scanCodes)) {
      // An unmapped scan code marks entry 0, which no assignment tests.
      for (int sc = 0; sc < 256; ++sc)
        if (scanCodes[sc] & 0x80) KeyTable[ScanCodeToVirtualKey(sc)] = 0x80;
    }
  } else {
    GetKeyboardState(KeyTable);
  }
  for (int s = 0; s < InputStateCount; ++s) {
    for (int j = 0; j < 3; ++j) {
      std::int32_t k = Assigns[s][j];
      if (k >= 1 && k <= 255 && (KeyTable[k] & 0x80)) {
        DeviceStates.Include(static_cast<TInputState>(s));
        break;
      }
    }
  }
}

bool TKeyboard::ReadAssigns(const std::uint8_t* data, std::size_t size) {
  if (!data || size != AssignsSize) return false;
  for (std::size_t i = 0; i < InputStateCount * 3; ++i) {
    const std::uint8_t* p = data + 4 * i;
    std::uint32_t v = p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    Assigns[i / 3][i % 3] = static_cast<std::int32_t>(v);
  }
  return true;
}

void TKeyboard::WriteAssigns(std::uint8_t out[AssignsSize]) const {
  for (std::size_t i = 0; i < InputStateCount * 3; ++i) {
    auto v = static_cast<std::uint32_t>(Assigns[i / 3][i % 3]);
    for (int b = 0; b < 4; ++b) out[4 * i + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v >> (8 * b));
  }
}
