// The platform's basic types, result codes and message numbers, under the names the framework uses.
#pragma once

#include <cstdint>

// Integer types of the platform's interfaces.
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using BOOL = std::int32_t;
using HRESULT = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A device context: drawing bound to a surface's pixels (the device contexts' stand-in).
class TDeviceContext;
using HDC = TDeviceContext*;

constexpr BOOL FALSE_ = 0;
constexpr BOOL TRUE_ = 1;

constexpr HRESULT S_OK = 0;
constexpr HRESULT DD_OK = 0;
constexpr HRESULT DI_OK = 0;
// Generic failures; the display and input stand-ins define their own codes beside these.
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline bool FAILED(HRESULT hr) { return hr < 0; }

struct RECT {
  LONG left, top, right, bottom;
};

struct POINT {
  LONG x, y;
};

struct SYSTEMTIME {
  WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

struct GUID {
  DWORD Data1;
  WORD Data2, Data3;
  BYTE Data4[8];
  friend bool operator==(const GUID&, const GUID&) = default;
};

// One entry of a palette: red, green, blue and flags, in the platform's byte order.
struct PALETTEENTRY {
  BYTE peRed, peGreen, peBlue, peFlags;
};

// Window messages the framework sends, watches or answers.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_INITMENU = 0x0116;
constexpr UINT WM_DEVICECHANGE = 0x0219;

// WM_ACTIVATE's low word.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND commands.
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_CLOSE = 0xF060;

// Window styles.
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_CAPTION = 0x00C00000u;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080u;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;

inline WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
