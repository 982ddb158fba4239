// The input-device stand-in: creation, the keyboard, joysticks, acquisition and lost input.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/DirectInput.h"
#include "platform/Libraries.h"
#include "platform/Windows.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

class DirectInputTest : public testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetWindows();
    window1 = CreateWindowEx(0, "One", "One", 0, 0, 0, 0, 0, nullptr, DefWindowProc);
    window2 = CreateWindowEx(0, "Two", "Two", 0, 0, 0, 0, 0, nullptr, DefWindowProc);
    SetForegroundWindow(window1);
    ASSERT_EQ(DirectInputCreateA(nullptr, 0x0500, &di, nullptr), DI_OK);
  }
  void TearDown() override {
    di->Release();
    ResetWindows();
    SetSystemKeyboardAvailable(true);
    EXPECT_EQ(DirectInputLiveObjects(), 0);  // every device gave its object back
    SetBackend(nullptr);
  }

  // Opens the joystick at index with the full 272-byte layout its objects describe.
  IDirectInputDevice2A* OpenJoystick(int index, std::vector<DIOBJECTDATAFORMAT>& objects) {
    IDirectInputDeviceA* d = nullptr;
    EXPECT_EQ(di->CreateDevice(JoystickInstanceGuid(index), &d, nullptr), DI_OK);
    d->EnumObjects(
        [](const DIDEVICEOBJECTINSTANCEA* o, void* ref) {
          static_cast<std::vector<DIOBJECTDATAFORMAT>*>(ref)->push_back(
              {nullptr, o->dwOfs, o->dwType, 0});
          return DIENUM_CONTINUE;
        },
        &objects, DIDFT_ALL);
    DIDATAFORMAT f{sizeof f, sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, 272,
                   static_cast<DWORD>(objects.size()), objects.data()};
    EXPECT_EQ(d->SetDataFormat(&f), DI_OK);
    void* two = nullptr;
    EXPECT_EQ(d->QueryInterface(IID_IDirectInputDevice2A, &two), DI_OK);
    d->Release();
    return static_cast<IDirectInputDevice2A*>(two);
  }

  static HRESULT SetRange(IDirectInputDeviceA* d, DWORD offset, LONG lo, LONG hi) {
    DIPROPRANGE r{{sizeof r, sizeof(DIPROPHEADER), offset, DIPH_BYOFFSET}, lo, hi};
    return d->SetProperty(DIPROP_RANGE, &r.diph);
  }
  static HRESULT SetDeadZone(IDirectInputDeviceA* d, DWORD offset, DWORD value) {
    DIPROPDWORD p{{sizeof p, sizeof(DIPROPHEADER), offset, DIPH_BYOFFSET}, value};
    return d->SetProperty(DIPROP_DEADZONE, &p.diph);
  }

  THeadlessBackend backend;
  HWND window1 = nullptr, window2 = nullptr;
  IDirectInputA* di = nullptr;
};

TEST(DirectInputLibrary, IsFoundByNameAndRefusesOtherVersions) {
  THeadlessBackend backend;
  SetBackend(&backend);
  HMODULE lib = LoadLibraryA("dinput.DLL");
  ASSERT_NE(lib, nullptr);
  auto create = reinterpret_cast<TDirectInputCreateA>(GetProcAddress(lib, "DirectInputCreateA"));
  ASSERT_NE(create, nullptr);
  IDirectInputA* di = nullptr;
  EXPECT_EQ(create(nullptr, 0x0700, &di, nullptr), DIERR_BETADIRECTINPUTVERSION);
  EXPECT_EQ(create(nullptr, 0x0200, &di, nullptr), DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(di, nullptr);
  EXPECT_EQ(create(nullptr, 0x0500, &di, nullptr), DI_OK);
  ASSERT_NE(di, nullptr);
  EXPECT_EQ(di->Release(), 0u);
  FreeLibrary(lib);
  SetLibraryAvailable("DInput.dll", false);
  EXPECT_EQ(LoadLibraryA("DInput.dll"), nullptr);
  SetLibraryAvailable("DInput.dll", true);
  SetBackend(nullptr);
}

TEST_F(DirectInputTest, KeyboardDeliversScanCodesWhileAcquiredInTheForeground) {
  IDirectInputDeviceA* kb = nullptr;
  ASSERT_EQ(di->CreateDevice(GUID_SysKeyboard, &kb, nullptr), DI_OK);
  BYTE state[256];
  EXPECT_EQ(kb->GetDeviceState(256, state), DIERR_INVALIDPARAM);  // no data format yet
  ASSERT_EQ(kb->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  EXPECT_EQ(kb->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
            DIERR_INVALIDPARAM);
  EXPECT_EQ(kb->SetCooperativeLevel(window1, DISCL_NONEXCLUSIVE | DISCL_EXCLUSIVE | 4),
            DIERR_INVALIDPARAM);
  ASSERT_EQ(kb->SetCooperativeLevel(window1, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
  EXPECT_EQ(kb->GetDeviceState(256, state), DIERR_NOTACQUIRED);

  backend.ScanCodes[0xC8] = 0x80;  // Up (extended)
  backend.ScanCodes[0x2A] = 0xFF;  // left Shift, with stray low bits
  ASSERT_EQ(kb->Acquire(), DI_OK);
  EXPECT_EQ(kb->Acquire(), DI_NOEFFECT);
  EXPECT_EQ(kb->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
  EXPECT_EQ(kb->GetDeviceState(255, state), DIERR_INVALIDPARAM);
  ASSERT_EQ(kb->GetDeviceState(256, state), DI_OK);
  EXPECT_EQ(state[0xC8], 0x80);
  EXPECT_EQ(state[0x2A], 0x80);
  EXPECT_EQ(state[0x48], 0);

  // The window loses the foreground: the input is lost once, then the device is not acquired,
  // and it cannot be acquired again until the window is in front.
  SetForegroundWindow(window2);
  EXPECT_EQ(kb->GetDeviceState(256, state), DIERR_INPUTLOST);
  EXPECT_EQ(kb->GetDeviceState(256, state), DIERR_NOTACQUIRED);
  EXPECT_EQ(kb->Acquire(), DIERR_OTHERAPPHASPRIO);
  SetForegroundWindow(window1);
  EXPECT_EQ(kb->Acquire(), DI_OK);
  EXPECT_EQ(kb->GetDeviceState(256, state), DI_OK);

  // A background device keeps its input whatever window is in front.
  kb->Unacquire();
  ASSERT_EQ(kb->SetCooperativeLevel(window1, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
  kb->Acquire();
  SetForegroundWindow(window2);
  EXPECT_EQ(kb->GetDeviceState(256, state), DI_OK);
  kb->Release();
}

TEST_F(DirectInputTest, KeyboardThatCannotBeOpened) {
  SetSystemKeyboardAvailable(false);
  IDirectInputDeviceA* kb = reinterpret_cast<IDirectInputDeviceA*>(1);
  EXPECT_EQ(di->CreateDevice(GUID_SysKeyboard, &kb, nullptr), DIERR_DEVICENOTREG);
  EXPECT_EQ(kb, nullptr);
}

TEST_F(DirectInputTest, EnumeratesAttachedJoysticksInBackendOrderUntilStopped) {
  backend.Joysticks.resize(3);
  backend.Joysticks[0].Name = "Pad A";
  backend.Joysticks[1].Name = "Pad B";
  std::vector<std::string> seen;
  auto collect = [](const DIDEVICEINSTANCEA* i, void* ref) {
    auto* v = static_cast<std::vector<std::string>*>(ref);
    v->push_back(i->tszInstanceName);
    EXPECT_EQ(i->guidInstance, JoystickInstanceGuid(static_cast<int>(v->size()) - 1));
    return v->size() < 2 ? DIENUM_CONTINUE : DIENUM_STOP;
  };
  EXPECT_EQ(di->EnumDevices(DIDEVTYPE_JOYSTICK, collect, &seen, DIEDFL_ATTACHEDONLY), DI_OK);
  EXPECT_EQ(seen, (std::vector<std::string>{"Pad A", "Pad B"}));
  IDirectInputDeviceA* d = nullptr;
  EXPECT_EQ(di->CreateDevice(JoystickInstanceGuid(3), &d, nullptr), DIERR_DEVICENOTREG);
}

TEST_F(DirectInputTest, JoystickReportsAxesThroughRangeAndDeadZone) {
  backend.Joysticks.resize(2);
  backend.Joysticks[1].ButtonCount = 40;
  std::vector<DIOBJECTDATAFORMAT> objects;
  IDirectInputDevice2A* js = OpenJoystick(1, objects);
  EXPECT_EQ(objects.size(), 3u + 1u + 40u);  // three axes, the hat, forty buttons

  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  ASSERT_EQ(js->GetCapabilities(&caps), DI_OK);
  EXPECT_EQ(caps.dwButtons, 40u);
  EXPECT_EQ(caps.dwAxes, 3u);
  EXPECT_EQ(caps.dwFlags & DIDC_FORCEFEEDBACK, 0u);

  for (DWORD ofs : {0u, 4u, 8u}) {
    EXPECT_EQ(SetRange(js, ofs, -1000, 1000), DI_OK);
    EXPECT_EQ(SetDeadZone(js, ofs, 5000), DI_OK);
  }
  EXPECT_EQ(SetDeadZone(js, 32, 5000), DIERR_OBJECTNOTFOUND);  // the hat is not an axis
  EXPECT_EQ(SetDeadZone(js, 12, 5000), DIERR_OBJECTNOTFOUND);  // no such object
  EXPECT_EQ(SetDeadZone(js, 0, 10001), DIERR_INVALIDPARAM);
  EXPECT_EQ(SetRange(js, 0, 0, 0), DIERR_INVALIDPARAM);
  DIPROPDWORD ac{{sizeof ac, sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, DIPROPAUTOCENTER_OFF};
  EXPECT_EQ(js->SetProperty(DIPROP_AUTOCENTER, &ac.diph), DI_OK);

  ASSERT_EQ(js->SetCooperativeLevel(window1, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
  ASSERT_EQ(js->Acquire(), DI_OK);
  TBackendJoystick& raw = backend.Joysticks[1];
  raw.X = -32768;  // full left
  raw.Y = 8000;    // inside the dead zone
  raw.Z = 32767;
  raw.Hat = 9000;
  raw.Buttons = 0x80000001u;  // buttons 1 and 32
  DIJOYSTATE2 s;
  ASSERT_EQ(js->Poll(), DI_OK);
  ASSERT_EQ(js->GetDeviceState(sizeof s, &s), DI_OK);
  EXPECT_EQ(s.lX, -1000);
  EXPECT_EQ(s.lY, 0);
  EXPECT_EQ(s.lZ, 1000);
  EXPECT_EQ(s.rgdwPOV[0], 9000u);
  EXPECT_EQ(s.rgbButtons[0], 0x80);
  EXPECT_EQ(s.rgbButtons[31], 0x80);
  EXPECT_EQ(s.rgbButtons[1], 0);
  EXPECT_EQ(s.rgbButtons[32], 0);

  raw.Y = 16384 + 8192;  // half way through the travel beyond the dead zone
  raw.Hat = -1;
  ASSERT_EQ(js->GetDeviceState(sizeof s, &s), DI_OK);
  EXPECT_NEAR(s.lY, 500, 1);
  EXPECT_EQ(s.rgdwPOV[0], 0xFFFFFFFFu);

  // Pulled out: lost once, then it cannot be acquired.
  backend.Joysticks.pop_back();
  EXPECT_EQ(js->Poll(), DIERR_INPUTLOST);
  EXPECT_EQ(js->GetDeviceState(sizeof s, &s), DIERR_NOTACQUIRED);
  EXPECT_EQ(js->Acquire(), DIERR_UNPLUGGED);
  js->Release();
}

TEST_F(DirectInputTest, JoystickWithoutPropertiesReportsTheWholeRawSpan) {
  backend.Joysticks.resize(1);
  std::vector<DIOBJECTDATAFORMAT> objects;
  IDirectInputDevice2A* js = OpenJoystick(0, objects);
  js->Acquire();  // background by default: no window needed
  backend.Joysticks[0].X = -32768;
  backend.Joysticks[0].Y = 32767;
  DIJOYSTATE2 s;
  ASSERT_EQ(js->GetDeviceState(sizeof s, &s), DI_OK);
  EXPECT_EQ(s.lX, 0);
  EXPECT_EQ(s.lY, 65535);
  EXPECT_EQ(s.lZ, 32768);
  js->Release();
}

TEST_F(DirectInputTest, DataFormatAsksOnlyForObjectsTheDeviceHas) {
  backend.Joysticks.resize(1);
  backend.Joysticks[0].AxisCount = 2;
  IDirectInputDeviceA* d = nullptr;
  ASSERT_EQ(di->CreateDevice(GUID_Joystick, &d, nullptr), DI_OK);
  DIOBJECTDATAFORMAT z[1] = {{&GUID_ZAxis, 8, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0}};
  DIDATAFORMAT f{sizeof f, sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, 272, 1, z};
  EXPECT_EQ(d->SetDataFormat(&f), DIERR_INVALIDPARAM);
  z[0].pguid = &GUID_YAxis;
  z[0].dwOfs = 270;  // would run past the end
  EXPECT_EQ(d->SetDataFormat(&f), DIERR_INVALIDPARAM);
  z[0].dwOfs = 8;
  EXPECT_EQ(d->SetDataFormat(&f), DI_OK);
  d->Release();
}

}  // namespace
