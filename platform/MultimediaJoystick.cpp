// The multimedia joystick functions over the backend's joysticks.
#include "platform/MultimediaJoystick.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "platform/Backend.h"

namespace {

MMRESULT Check(std::uintptr_t id) {
  if (!HasBackend()) return MMSYSERR_NODRIVER;
  if (id >= JOY_MAX_DEVICES) return JOYERR_PARMS;
  if (id >= static_cast<std::uintptr_t>(Backend().JoystickCount())) return JOYERR_UNPLUGGED;
  return JOYERR_NOERROR;
}

// The backend's -32768..32767 as the raw 0..65535 of this interface.
DWORD Raw(std::int32_t v) { return static_cast<DWORD>(std::clamp(v, -32768, 32767) + 32768); }

}  // namespace

MMRESULT joyGetDevCapsA(std::uintptr_t id, JOYCAPSA* caps, UINT size) {
  if (!caps || size != sizeof(JOYCAPSA)) return MMSYSERR_INVALPARAM;
  if (MMRESULT r = Check(id)) return r;
  TBackendJoystick js;
  if (!Backend().JoystickState(static_cast<int>(id), js)) return JOYERR_UNPLUGGED;
  std::memset(caps, 0, sizeof *caps);
  std::snprintf(caps->szPname, sizeof caps->szPname, "%s", js.Name.c_str());
  int axes = std::clamp(js.AxisCount, 0, 3);
  caps->wXmax = caps->wYmax = 65535;
  if (axes >= 3) {
    caps->wZmax = 65535;
    caps->wCaps |= JOYCAPS_HASZ;
  }
  caps->wCaps |= JOYCAPS_HASPOV | JOYCAPS_POVCTS;
  caps->wNumButtons = static_cast<UINT>(std::clamp(js.ButtonCount, 0, 32));
  caps->wMaxButtons = 32;
  caps->wNumAxes = static_cast<UINT>(axes);
  caps->wMaxAxes = 6;
  caps->wPeriodMin = 10;
  caps->wPeriodMax = 1000;
  return JOYERR_NOERROR;
}

MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info) {
  if (!info || info->dwSize != sizeof(JOYINFOEX)) return MMSYSERR_INVALPARAM;
  if (MMRESULT r = Check(id)) return r;
  TBackendJoystick js;
  if (!Backend().JoystickState(static_cast<int>(id), js)) return JOYERR_UNPLUGGED;
  DWORD flags = info->dwFlags;
  int axes = std::clamp(js.AxisCount, 0, 3);
  if (flags & JOY_RETURNX) info->dwXpos = axes >= 1 ? Raw(js.X) : 0;
  if (flags & JOY_RETURNY) info->dwYpos = axes >= 2 ? Raw(js.Y) : 0;
  if (flags & JOY_RETURNZ) info->dwZpos = axes >= 3 ? Raw(js.Z) : 0;
  if (flags & JOY_RETURNPOV) info->dwPOV = js.Hat < 0 ? JOY_POVCENTERED : static_cast<DWORD>(js.Hat);
  if (flags & JOY_RETURNBUTTONS) {
    int count = std::clamp(js.ButtonCount, 0, 32);
    DWORD mask = count >= 32 ? 0xFFFFFFFFu : ((1u << count) - 1);
    info->dwButtons = js.Buttons & mask;
    info->dwButtonNumber = static_cast<DWORD>(std::popcount(info->dwButtons));
  }
  return JOYERR_NOERROR;
}
