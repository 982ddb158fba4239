// The input-device stand-in "DInput.dll": the system keyboard and the attached joysticks over the
// backend, under the platform's own names, records and result codes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"
#include "platform/Windows.h"

struct TLibrary;
using HINSTANCE = TLibrary*;
using ULONG = std::uint32_t;

// --- result codes ---
constexpr HRESULT DI_NOEFFECT = 1;  // S_FALSE: nothing to do (already acquired, nothing to poll)
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481u);
constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DIERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DIERR_GENERIC = E_FAIL;
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DIERR_UNPLUGGED = static_cast<HRESULT>(0x80040209u);

constexpr DWORD DIRECTINPUT_VERSION = 0x0500;

// --- device types, enumeration and cooperative levels ---
constexpr DWORD DIDEVTYPE_DEVICE = 1;
constexpr DWORD DIDEVTYPE_MOUSE = 2;
constexpr DWORD DIDEVTYPE_KEYBOARD = 3;
constexpr DWORD DIDEVTYPE_JOYSTICK = 4;
constexpr DWORD DIEDFL_ALLDEVICES = 0;
constexpr DWORD DIEDFL_ATTACHEDONLY = 1;
constexpr BOOL DIENUM_STOP = 0;
constexpr BOOL DIENUM_CONTINUE = 1;

constexpr DWORD DISCL_EXCLUSIVE = 1;
constexpr DWORD DISCL_NONEXCLUSIVE = 2;
constexpr DWORD DISCL_FOREGROUND = 4;
constexpr DWORD DISCL_BACKGROUND = 8;

constexpr DWORD DIDC_ATTACHED = 0x00000001;
constexpr DWORD DIDC_FORCEFEEDBACK = 0x00000100;

// --- object types: the kind in the low byte, the instance number in bits 8..23 ---
constexpr DWORD DIDFT_ALL = 0x00000000;
constexpr DWORD DIDFT_RELAXIS = 0x00000001;
constexpr DWORD DIDFT_ABSAXIS = 0x00000002;
constexpr DWORD DIDFT_AXIS = 0x00000003;
constexpr DWORD DIDFT_PSHBUTTON = 0x00000004;
constexpr DWORD DIDFT_TGLBUTTON = 0x00000008;
constexpr DWORD DIDFT_BUTTON = 0x0000000C;
constexpr DWORD DIDFT_POV = 0x00000010;
constexpr DWORD DIDFT_ANYINSTANCE = 0x00FFFF00;
constexpr DWORD DIDFT_MAKEINSTANCE(DWORD n) { return (n & 0xFFFF) << 8; }
constexpr DWORD DIDFT_GETINSTANCE(DWORD type) { return (type >> 8) & 0xFFFF; }
constexpr DWORD DIDF_ABSAXIS = 0x00000001;

// --- property identifiers and how a property names its object ---
extern const GUID DIPROP_RANGE;
extern const GUID DIPROP_DEADZONE;
extern const GUID DIPROP_AUTOCENTER;
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;
constexpr DWORD DIPROPAUTOCENTER_OFF = 0;
constexpr DWORD DIPROPAUTOCENTER_ON = 1;

// --- identifiers of devices, object kinds and interfaces ---
// Inline, as the system's headers make them: on Windows the program also links libraries that
// define the same identifiers with the same values (SDL's joystick code), and one copy is kept.
inline constexpr GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_Joystick = {0x6F1D2B70, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_XAxis = {0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_YAxis = {0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_ZAxis = {0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_POV = {0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_Button = {0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID GUID_Key = {0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};
inline constexpr GUID IID_IDirectInputDevice2A = {0x5944E682, 0xC92E, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 0}};

// --- records ---
struct DIOBJECTDATAFORMAT {
  const GUID* pguid;  // kind of object wanted, or null for any
  DWORD dwOfs;        // where its value goes in the caller's buffer
  DWORD dwType;       // DIDFT_* kind and instance
  DWORD dwFlags;
};

struct DIDATAFORMAT {
  DWORD dwSize;     // sizeof(DIDATAFORMAT)
  DWORD dwObjSize;  // sizeof(DIOBJECTDATAFORMAT)
  DWORD dwFlags;
  DWORD dwDataSize;  // bytes GetDeviceState delivers, a multiple of 4
  DWORD dwNumObjs;
  const DIOBJECTDATAFORMAT* rgodf;
};

// The keyboard's format: one byte per scan code, bit 7 set while the key is down.
extern const DIDATAFORMAT c_dfDIKeyboard;

struct DIDEVICEINSTANCEA {
  DWORD dwSize;
  GUID guidInstance;
  GUID guidProduct;
  DWORD dwDevType;
  char tszInstanceName[260];
  char tszProductName[260];
  GUID guidFFDriver;
};

struct DIDEVCAPS {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwDevType;
  DWORD dwAxes;
  DWORD dwButtons;
  DWORD dwPOVs;
  DWORD dwFFSamplePeriod;
  DWORD dwFFMinTimeResolution;
  DWORD dwFirmwareRevision;
  DWORD dwHardwareRevision;
  DWORD dwFFDriverVersion;
};

struct DIDEVICEOBJECTINSTANCEA {
  DWORD dwSize;
  GUID guidType;
  DWORD dwOfs;
  DWORD dwType;
  DWORD dwFlags;
  char tszName[260];
};

struct DIPROPHEADER {
  DWORD dwSize;
  DWORD dwHeaderSize;
  DWORD dwObj;  // byte offset (DIPH_BYOFFSET) or 0 (DIPH_DEVICE)
  DWORD dwHow;
};

struct DIPROPDWORD {
  DIPROPHEADER diph;
  DWORD dwData;
};

struct DIPROPRANGE {
  DIPROPHEADER diph;
  LONG lMin;
  LONG lMax;
};

// The extended joystick state, 272 bytes: axes, sliders, hats, 128 buttons, then velocities,
// accelerations and forces that this platform leaves at zero.
struct DIJOYSTATE2 {
  LONG lX, lY, lZ;
  LONG lRx, lRy, lRz;
  LONG rglSlider[2];
  DWORD rgdwPOV[4];
  BYTE rgbButtons[128];
  LONG lVX, lVY, lVZ, lVRx, lVRy, lVRz;
  LONG rglVSlider[2];
  LONG lAX, lAY, lAZ, lARx, lARy, lARz;
  LONG rglASlider[2];
  LONG lFX, lFY, lFZ, lFRx, lFRy, lFRz;
  LONG rglFSlider[2];
};
static_assert(sizeof(DIJOYSTATE2) == 272);
static_assert(offsetof(DIJOYSTATE2, rgdwPOV) == 32 && offsetof(DIJOYSTATE2, rgbButtons) == 48);

using LPDIENUMDEVICESCALLBACKA = BOOL (*)(const DIDEVICEINSTANCEA* instance, void* ref);
using LPDIENUMDEVICEOBJECTSCALLBACKA = BOOL (*)(const DIDEVICEOBJECTINSTANCEA* object, void* ref);

// --- interfaces (reference counted; Release at zero frees) ---

// One opened device: the system keyboard or one joystick.
class IDirectInputDeviceA {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
  virtual HRESULT GetCapabilities(DIDEVCAPS* caps) = 0;
  virtual HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref, DWORD flags) = 0;
  virtual HRESULT SetProperty(const GUID& property, const DIPROPHEADER* header) = 0;
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;
  virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;

 protected:
  virtual ~IDirectInputDeviceA() = default;
};

// The same device, with polling.
class IDirectInputDevice2A : public IDirectInputDeviceA {
 public:
  virtual HRESULT Poll() = 0;
};

// The DirectInput object: enumerates and opens devices.
class IDirectInputA {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  virtual HRESULT CreateDevice(const GUID& instance, IDirectInputDeviceA** device, void* outer) = 0;
  virtual HRESULT EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKA callback, void* ref,
                              DWORD flags) = 0;

 protected:
  virtual ~IDirectInputA() = default;
};

// The library's one entry point, found by name in "DInput.dll".
HRESULT DirectInputCreateA(HINSTANCE instance, DWORD version, IDirectInputA** directInput,
                           void* outer);
using TDirectInputCreateA = decltype(&DirectInputCreateA);

// The instance identifier the stand-in gives the joystick at a backend index.
GUID JoystickInstanceGuid(int index);

// How many DirectInput objects and devices are alive (tests check that nothing leaks).
int DirectInputLiveObjects();

// Makes the system keyboard impossible to open, as on a machine whose keyboard driver is missing.
void SetSystemKeyboardAvailable(bool available);
