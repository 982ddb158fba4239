// The input-device stand-in: the DirectInput object, the keyboard and joystick devices over the backend.
#include "platform/DirectInput.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Backend.h"

const GUID DIPROP_RANGE = {4, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const GUID DIPROP_DEADZONE = {5, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const GUID DIPROP_AUTOCENTER = {9, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace {

const DIOBJECTDATAFORMAT keyboardObjects[1] = {{&GUID_Key, 1, 0x00FFFF0C, 0}};

constexpr HRESULT DIERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr DWORD DIDFT_OPTIONAL = 0x80000000u;
constexpr int kMaxJoystickAxes = 3;
constexpr int kMaxJoystickButtons = 128;

int liveObjects = 0;

bool IsJoystickInstance(const GUID& g, int& index) {
  GUID base = JoystickInstanceGuid(0);
  base.Data1 = g.Data1;
  if (!(base == g) || g.Data1 < 0x7A8E0000u || g.Data1 > 0x7A8E00FFu) return false;
  index = static_cast<int>(g.Data1 - 0x7A8E0000u);
  return true;
}

void CopyName(char* to, const std::string& from) {
  std::snprintf(to, 260, "%s", from.c_str());
}

// One object of a device as EnumObjects reports it, and where it sits in the native state.
struct TDeviceObject {
  GUID Type;
  DWORD Offset;
  DWORD Kind;  // DIDFT_ABSAXIS, DIDFT_POV or DIDFT_PSHBUTTON, with the instance number
  const char* Name;
};

// How an axis reports its position: a range and a dead zone in hundredths of a percent of the
// half span, as SetProperty left them.
struct TAxisSetting {
  LONG Min = 0, Max = 65535;
  DWORD DeadZone = 0;
};

// The backend reports -32768..32767, taken as a position 0..65535 around the centre 32767. The
// device reports Min..Max: the dead zone around the centre reports the centre, and the travel
// beyond it is stretched over the half span, so that a position just outside the dead zone
// already leaves the centre.
LONG ScaleAxisPosition(std::int32_t raw, const TAxisSetting& axis) {
  constexpr std::int64_t half = 32767;
  std::int64_t d = std::clamp(raw, -32768, 32767) + 32768 - half;
  std::int64_t dz = half * axis.DeadZone / 10000;
  std::int64_t centre = (static_cast<std::int64_t>(axis.Min) + axis.Max) / 2;
  std::int64_t halfRange = (static_cast<std::int64_t>(axis.Max) - axis.Min) / 2;
  if (half - dz == 0 || (d < 0 ? -d : d) <= dz) return static_cast<LONG>(centre);
  std::int64_t beyond = d > 0 ? d - dz : d + dz;
  // Rounded to nearest, halves away from zero.
  std::int64_t num = beyond * halfRange;
  std::int64_t den = half - dz;
  std::int64_t q = (num < 0 ? num - den / 2 : num + den / 2) / den;
  return static_cast<LONG>(std::clamp<std::int64_t>(centre + q, axis.Min, axis.Max));
}

class TDirectInput;

// The keyboard (one byte per scan code) or one joystick (the extended joystick state), with its
// acquisition: a foreground device loses its input when its window stops being the foreground
// window and must be acquired again.
class TDirectInputDevice final : public IDirectInputDevice2A {
 public:
  TDirectInputDevice(TDirectInput* owner, bool keyboard, int joystickIndex);

  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override;
  HRESULT QueryInterface(const GUID& iid, void** object) override {
    if (!object) return DIERR_INVALIDPARAM;
    *object = nullptr;
    if (!(iid == IID_IDirectInputDevice2A)) return DIERR_NOINTERFACE;
    AddRef();
    *object = static_cast<IDirectInputDevice2A*>(this);
    return DI_OK;
  }
  HRESULT GetCapabilities(DIDEVCAPS* caps) override;
  HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref, DWORD flags) override;
  HRESULT SetProperty(const GUID& property, const DIPROPHEADER* header) override;
  HRESULT Acquire() override;
  HRESULT Unacquire() override;
  HRESULT GetDeviceState(DWORD size, void* data) override;
  HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT Poll() override;

 private:
  ~TDirectInputDevice() override;
  bool Plugged() const { return keyboard_ || joystickIndex_ < Backend().JoystickCount(); }
  HRESULT CheckInput();
  // The object whose value the current data format puts at offset; -1 if none.
  int ObjectAtFormatOffset(DWORD offset) const;
  HRESULT ForEachAxis(const DIPROPHEADER* header, auto&& apply);

  TDirectInput* owner_;
  ULONG refs_ = 1;
  bool keyboard_;
  int joystickIndex_;
  std::vector<TDeviceObject> objects_;
  TAxisSetting axes_[kMaxJoystickAxes];
  bool autoCenter_ = true;
  // The data format: its size and, for the joystick, where each object's value goes.
  bool formatSet_ = false;
  DWORD dataSize_ = 0;
  std::vector<std::pair<int, DWORD>> placed_;  // object index, offset in the caller's buffer
  HWND window_ = nullptr;
  DWORD level_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
  bool acquired_ = false;
};

// The DirectInput object.
class TDirectInput final : public IDirectInputA {
 public:
  TDirectInput() { ++liveObjects; }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT CreateDevice(const GUID& instance, IDirectInputDeviceA** device, void* outer) override;
  HRESULT EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKA callback, void* ref,
                      DWORD flags) override;

 private:
  ~TDirectInput() override { --liveObjects; }
  ULONG refs_ = 1;
};

bool keyboardAvailable = true;

TDirectInputDevice::TDirectInputDevice(TDirectInput* owner, bool keyboard, int joystickIndex)
    : owner_(owner), keyboard_(keyboard), joystickIndex_(joystickIndex) {
  ++liveObjects;
  owner_->AddRef();  // a device keeps its DirectInput object alive
  if (keyboard_) {
    for (DWORD sc = 1; sc < 256; ++sc)
      objects_.push_back({GUID_Key, sc, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(sc), "Key"});
    return;
  }
  TBackendJoystick js;
  Backend().JoystickState(joystickIndex_, js);
  static const GUID* axisGuids[kMaxJoystickAxes] = {&GUID_XAxis, &GUID_YAxis, &GUID_ZAxis};
  static const char* axisNames[kMaxJoystickAxes] = {"X Axis", "Y Axis", "Z Axis"};
  int axes = std::clamp(js.AxisCount, 0, kMaxJoystickAxes);
  for (int a = 0; a < axes; ++a)
    objects_.push_back({*axisGuids[a], static_cast<DWORD>(4 * a),
                        DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(static_cast<DWORD>(a)), axisNames[a]});
  objects_.push_back({GUID_POV, 32, DIDFT_POV | DIDFT_MAKEINSTANCE(0), "Hat"});
  int buttons = std::clamp(js.ButtonCount, 0, kMaxJoystickButtons);
  for (int b = 0; b < buttons; ++b)
    objects_.push_back({GUID_Button, static_cast<DWORD>(48 + b),
                        DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(static_cast<DWORD>(b)), "Button"});
}

TDirectInputDevice::~TDirectInputDevice() {
  --liveObjects;
  owner_->Release();
}

ULONG TDirectInputDevice::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TDirectInputDevice::GetCapabilities(DIDEVCAPS* caps) {
  if (!caps || caps->dwSize != sizeof(DIDEVCAPS)) return DIERR_INVALIDPARAM;
  std::memset(caps, 0, sizeof *caps);
  caps->dwSize = sizeof(DIDEVCAPS);
  caps->dwFlags = Plugged() ? DIDC_ATTACHED : 0;
  caps->dwDevType = keyboard_ ? DIDEVTYPE_KEYBOARD : DIDEVTYPE_JOYSTICK;
  for (const TDeviceObject& o : objects_) {
    if (o.Kind & DIDFT_AXIS) ++caps->dwAxes;
    if (o.Kind & DIDFT_BUTTON) ++caps->dwButtons;
    if (o.Kind & DIDFT_POV) ++caps->dwPOVs;
  }
  return DI_OK;
}

HRESULT TDirectInputDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref,
                                        DWORD flags) {
  if (!callback) return DIERR_INVALIDPARAM;
  DWORD kinds = flags & 0xFF;
  for (const TDeviceObject& o : objects_) {
    if (kinds != DIDFT_ALL && (o.Kind & kinds) == 0) continue;
    DIDEVICEOBJECTINSTANCEA info{};
    info.dwSize = sizeof info;
    info.guidType = o.Type;
    info.dwOfs = o.Offset;
    info.dwType = o.Kind;
    CopyName(info.tszName, o.Name);
    if (callback(&info, ref) == DIENUM_STOP) break;
  }
  return DI_OK;
}

int TDirectInputDevice::ObjectAtFormatOffset(DWORD offset) const {
  for (const auto& [object, at] : placed_)
    if (at == offset) return object;
  return -1;
}

// Applies a per-axis property to the axis the header names, or to every axis of the device.
HRESULT TDirectInputDevice::ForEachAxis(const DIPROPHEADER* header, auto&& apply) {
  if (keyboard_) return DIERR_UNSUPPORTED;
  if (header->dwHow == DIPH_DEVICE) {
    if (header->dwObj != 0) return DIERR_INVALIDPARAM;
    for (int a = 0; a < kMaxJoystickAxes; ++a) apply(axes_[a]);
    return DI_OK;
  }
  if (header->dwHow != DIPH_BYOFFSET) return DIERR_INVALIDPARAM;
  int object = ObjectAtFormatOffset(header->dwObj);
  if (object < 0 || !(objects_[static_cast<size_t>(object)].Kind & DIDFT_AXIS))
    return DIERR_OBJECTNOTFOUND;
  apply(axes_[DIDFT_GETINSTANCE(objects_[static_cast<size_t>(object)].Kind)]);
  return DI_OK;
}

HRESULT TDirectInputDevice::SetProperty(const GUID& property, const DIPROPHEADER* header) {
  if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
  if (property == DIPROP_DEADZONE) {
    if (header->dwSize != sizeof(DIPROPDWORD)) return DIERR_INVALIDPARAM;
    DWORD value = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
    if (value > 10000) return DIERR_INVALIDPARAM;
    return ForEachAxis(header, [value](TAxisSetting& a) { a.DeadZone = value; });
  }
  if (property == DIPROP_RANGE) {
    if (header->dwSize != sizeof(DIPROPRANGE)) return DIERR_INVALIDPARAM;
    const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
    if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
    LONG lo = range->lMin, hi = range->lMax;
    return ForEachAxis(header, [lo, hi](TAxisSetting& a) {
      a.Min = lo;
      a.Max = hi;
    });
  }
  if (property == DIPROP_AUTOCENTER) {
    if (header->dwSize != sizeof(DIPROPDWORD) || header->dwHow != DIPH_DEVICE ||
        header->dwObj != 0)
      return DIERR_INVALIDPARAM;
    if (keyboard_) return DIERR_UNSUPPORTED;
    DWORD value = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
    if (value > DIPROPAUTOCENTER_ON) return DIERR_INVALIDPARAM;
    autoCenter_ = value == DIPROPAUTOCENTER_ON;
    return DI_OK;
  }
  return DIERR_UNSUPPORTED;
}

HRESULT TDirectInputDevice::Acquire() {
  if (!formatSet_) return DIERR_INVALIDPARAM;
  if (acquired_) return DI_NOEFFECT;
  if (!Plugged()) return DIERR_UNPLUGGED;
  if ((level_ & DISCL_FOREGROUND) && window_ != GetForegroundWindow()) return DIERR_OTHERAPPHASPRIO;
  acquired_ = true;
  return DI_OK;
}

HRESULT TDirectInputDevice::Unacquire() {
  if (!acquired_) return DI_NOEFFECT;
  acquired_ = false;
  return DI_OK;
}

// A foreground device whose window lost the foreground, or a joystick pulled out, loses its input
// once (DIERR_INPUTLOST); after that it is simply not acquired until acquired again.
HRESULT TDirectInputDevice::CheckInput() {
  if (!acquired_) return DIERR_NOTACQUIRED;
  if (!Plugged() || ((level_ & DISCL_FOREGROUND) && window_ != GetForegroundWindow())) {
    acquired_ = false;
    return DIERR_INPUTLOST;
  }
  return DI_OK;
}

HRESULT TDirectInputDevice::GetDeviceState(DWORD size, void* data) {
  if (!data || !formatSet_ || size != dataSize_) return DIERR_INVALIDPARAM;
  HRESULT hr = CheckInput();
  if (FAILED(hr)) return hr;
  auto* bytes = static_cast<BYTE*>(data);
  if (keyboard_) {
    Backend().ScanCodeState(bytes);
    for (DWORD i = 0; i < 256; ++i) bytes[i] &= 0x80;
    return DI_OK;
  }
  std::memset(bytes, 0, size);
  TBackendJoystick js;
  if (!Backend().JoystickState(joystickIndex_, js)) return DIERR_INPUTLOST;
  for (const auto& [index, at] : placed_) {
    const TDeviceObject& o = objects_[static_cast<size_t>(index)];
    DWORD instance = DIDFT_GETINSTANCE(o.Kind);
    if (o.Kind & DIDFT_AXIS) {
      std::int32_t raw = instance == 0 ? js.X : instance == 1 ? js.Y : js.Z;
      LONG v = ScaleAxisPosition(raw, axes_[instance]);
      std::memcpy(bytes + at, &v, sizeof v);
    } else if (o.Kind & DIDFT_POV) {
      DWORD v = js.Hat < 0 ? 0xFFFFFFFFu : static_cast<DWORD>(js.Hat);
      std::memcpy(bytes + at, &v, sizeof v);
    } else if (instance < 32 && (js.Buttons >> instance & 1u)) {
      bytes[at] = 0x80;
    }
  }
  return DI_OK;
}

HRESULT TDirectInputDevice::SetDataFormat(const DIDATAFORMAT* format) {
  if (!format || format->dwSize != sizeof(DIDATAFORMAT) ||
      format->dwObjSize != sizeof(DIOBJECTDATAFORMAT) || format->dwDataSize % 4 != 0 ||
      (format->dwNumObjs > 0 && !format->rgodf))
    return DIERR_INVALIDPARAM;
  if (acquired_) return DIERR_ACQUIRED;
  // The keyboard delivers its whole scan-code table, whatever objects the format lists.
  if (keyboard_) {
    if (format->dwDataSize != 256) return DIERR_INVALIDPARAM;
    formatSet_ = true;
    dataSize_ = 256;
    return DI_OK;
  }
  std::vector<std::pair<int, DWORD>> placed;
  std::vector<bool> used(objects_.size(), false);
  for (DWORD i = 0; i < format->dwNumObjs; ++i) {
    const DIOBJECTDATAFORMAT& want = format->rgodf[i];
    int found = -1;
    for (size_t k = 0; k < objects_.size() && found < 0; ++k) {
      const TDeviceObject& o = objects_[k];
      bool kind = (want.dwType & o.Kind & 0xFF) != 0;
      DWORD instance = want.dwType & DIDFT_ANYINSTANCE;
      bool sameInstance = instance == DIDFT_ANYINSTANCE || instance == (o.Kind & DIDFT_ANYINSTANCE);
      if (!used[k] && kind && sameInstance && (!want.pguid || *want.pguid == o.Type))
        found = static_cast<int>(k);
    }
    if (found < 0) {
      if (want.dwType & DIDFT_OPTIONAL) continue;
      return DIERR_INVALIDPARAM;
    }
    DWORD width = (objects_[static_cast<size_t>(found)].Kind & DIDFT_BUTTON) ? 1 : 4;
    if (want.dwOfs >= format->dwDataSize || format->dwDataSize - want.dwOfs < width ||
        want.dwOfs % width != 0)
      return DIERR_INVALIDPARAM;
    used[static_cast<size_t>(found)] = true;
    placed.emplace_back(found, want.dwOfs);
  }
  placed_ = std::move(placed);
  formatSet_ = true;
  dataSize_ = format->dwDataSize;
  return DI_OK;
}

HRESULT TDirectInputDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  DWORD access = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
  DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
  if ((flags & ~0xFu) != 0 || access == 0 || access == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE) ||
      focus == 0 || focus == (DISCL_FOREGROUND | DISCL_BACKGROUND))
    return DIERR_INVALIDPARAM;
  if ((flags & (DISCL_FOREGROUND | DISCL_EXCLUSIVE)) && !window) return DIERR_INVALIDPARAM;
  if (acquired_) return DIERR_ACQUIRED;
  window_ = window;
  level_ = flags;
  return DI_OK;
}

HRESULT TDirectInputDevice::Poll() {
  HRESULT hr = CheckInput();
  if (FAILED(hr)) return hr;
  return keyboard_ ? DI_NOEFFECT : DI_OK;
}

HRESULT TDirectInput::CreateDevice(const GUID& instance, IDirectInputDeviceA** device,
                                   void* outer) {
  if (!device) return DIERR_INVALIDPARAM;
  *device = nullptr;
  if (outer) return DIERR_NOAGGREGATION;
  int index = -1;
  if (instance == GUID_SysKeyboard) {
    if (!keyboardAvailable) return DIERR_DEVICENOTREG;
    *device = new TDirectInputDevice(this, true, -1);
    return DI_OK;
  }
  if (instance == GUID_Joystick) {
    index = 0;
  } else if (!IsJoystickInstance(instance, index)) {
    return DIERR_DEVICENOTREG;
  }
  if (index >= Backend().JoystickCount()) return DIERR_DEVICENOTREG;
  *device = new TDirectInputDevice(this, false, index);
  return DI_OK;
}

HRESULT TDirectInput::EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKA callback, void* ref,
                                  DWORD flags) {
  if (!callback || (flags & ~DIEDFL_ATTACHEDONLY) != 0 || devType > DIDEVTYPE_JOYSTICK)
    return DIERR_INVALIDPARAM;
  // Every device this platform knows is attached, so DIEDFL_ATTACHEDONLY changes nothing.
  if ((devType == 0 || devType == DIDEVTYPE_KEYBOARD) && keyboardAvailable) {
    DIDEVICEINSTANCEA info{};
    info.dwSize = sizeof info;
    info.guidInstance = info.guidProduct = GUID_SysKeyboard;
    info.dwDevType = DIDEVTYPE_KEYBOARD;
    CopyName(info.tszInstanceName, "Keyboard");
    CopyName(info.tszProductName, "Keyboard");
    if (callback(&info, ref) == DIENUM_STOP) return DI_OK;
  }
  if (devType == 0 || devType == DIDEVTYPE_JOYSTICK) {
    int count = Backend().JoystickCount();
    for (int i = 0; i < count; ++i) {
      TBackendJoystick js;
      Backend().JoystickState(i, js);
      DIDEVICEINSTANCEA info{};
      info.dwSize = sizeof info;
      info.guidInstance = JoystickInstanceGuid(i);
      info.guidProduct = GUID_Joystick;
      info.dwDevType = DIDEVTYPE_JOYSTICK;
      CopyName(info.tszInstanceName, js.Name);
      CopyName(info.tszProductName, js.Name);
      if (callback(&info, ref) == DIENUM_STOP) break;
    }
  }
  return DI_OK;
}

}  // namespace

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 256, 1,
                                     keyboardObjects};

HRESULT DirectInputCreateA(HINSTANCE, DWORD version, IDirectInputA** directInput, void* outer) {
  if (!directInput) return DIERR_INVALIDPARAM;
  *directInput = nullptr;
  if (outer) return DIERR_NOAGGREGATION;
  if (version < 0x0300) return DIERR_OLDDIRECTINPUTVERSION;
  if (version > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
  if (!HasBackend()) return DIERR_NOTINITIALIZED;
  *directInput = new TDirectInput;
  return DI_OK;
}

GUID JoystickInstanceGuid(int index) {
  return {0x7A8E0000u + static_cast<DWORD>(index & 0xFF), 0x5C1D, 0x11EF,
          {0x9A, 0x4B, 0x54, 0x61, 0x72, 0x6E, 0x79, 0x78}};
}

int DirectInputLiveObjects() { return liveObjects; }

void SetSystemKeyboardAvailable(bool available) { keyboardAvailable = available; }
