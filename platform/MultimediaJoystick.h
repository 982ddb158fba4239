// The multimedia joystick functions: capabilities and positions of up to 16 joysticks, with raw
// positions from 0 to 65535.
#pragma once

#include "platform/WinTypes.h"

using MMRESULT = UINT;
constexpr MMRESULT JOYERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT JOYERR_PARMS = 165;
constexpr MMRESULT JOYERR_UNPLUGGED = 167;

constexpr UINT JOYSTICKID1 = 0;
constexpr UINT JOY_MAX_DEVICES = 16;  // numbers this platform answers for

// What joyGetPosEx is asked to return.
constexpr DWORD JOY_RETURNX = 0x001;
constexpr DWORD JOY_RETURNY = 0x002;
constexpr DWORD JOY_RETURNZ = 0x004;
constexpr DWORD JOY_RETURNR = 0x008;
constexpr DWORD JOY_RETURNU = 0x010;
constexpr DWORD JOY_RETURNV = 0x020;
constexpr DWORD JOY_RETURNPOV = 0x040;
constexpr DWORD JOY_RETURNBUTTONS = 0x080;
constexpr DWORD JOY_RETURNRAWDATA = 0x100;
constexpr DWORD JOY_RETURNPOVCTS = 0x200;
constexpr DWORD JOY_RETURNCENTERED = 0x400;
constexpr DWORD JOY_RETURNALL = 0x0FF;
constexpr DWORD JOY_POVCENTERED = 0xFFFF;

constexpr UINT JOYCAPS_HASZ = 0x0001;
constexpr UINT JOYCAPS_HASPOV = 0x0010;
constexpr UINT JOYCAPS_POVCTS = 0x0040;

// A joystick's capabilities, 404 bytes.
struct JOYCAPSA {
  WORD wMid;
  WORD wPid;
  char szPname[32];
  UINT wXmin, wXmax;
  UINT wYmin, wYmax;
  UINT wZmin, wZmax;
  UINT wNumButtons;
  UINT wPeriodMin, wPeriodMax;
  UINT wRmin, wRmax;
  UINT wUmin, wUmax;
  UINT wVmin, wVmax;
  UINT wCaps;
  UINT wMaxAxes;
  UINT wNumAxes;
  UINT wMaxButtons;
  char szRegKey[32];
  char szOEMVxD[260];
};
static_assert(sizeof(JOYCAPSA) == 404);

// A joystick's position, 52 bytes; dwSize and dwFlags are filled in by the caller.
struct JOYINFOEX {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwXpos, dwYpos, dwZpos;
  DWORD dwRpos, dwUpos, dwVpos;
  DWORD dwButtons;       // bit n set while button n + 1 is down
  DWORD dwButtonNumber;  // how many buttons are down
  DWORD dwPOV;           // hundredths of a degree, JOY_POVCENTERED when centred
  DWORD dwReserved1, dwReserved2;
};
static_assert(sizeof(JOYINFOEX) == 52);

// JOYERR_NOERROR when joystick number id is attached; JOYERR_UNPLUGGED for a free number below
// 16, JOYERR_PARMS above; MMSYSERR_INVALPARAM for a null record or a wrong size.
MMRESULT joyGetDevCapsA(std::uintptr_t id, JOYCAPSA* caps, UINT size);
MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info);
