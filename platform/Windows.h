// Windows and their messages: window records with a window procedure, sent and posted messages,
// styles, visibility, the foreground window, and the backend's events turned into messages.
#pragma once

#include <functional>
#include <string>

#include "platform/WinTypes.h"

struct TWindow;
using HWND = TWindow*;

// A window procedure. A std::function so that it can be bound to an object, and so that an
// interception can keep the previous procedure and call it.
using WNDPROC = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// One queued message.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = WM_NULL;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// WM_WINDOWPOSCHANGED's lParam points to one of these.
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

// WM_CREATE's lParam points to one of these.
struct CREATESTRUCT {
  DWORD dwExStyle = 0;
  const char* lpszClass = nullptr;
  const char* lpszName = nullptr;
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  HWND hwndParent = nullptr;
};

constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// The first message number free for a program's own use.
constexpr UINT WM_USER = 0x0400;

// WM_SIZE's wParam.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;

// GetWindowLong indexes.
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_STYLE = -16;

// Further styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000u;
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_MINIMIZE = 0x20000000u;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000u;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000u;
constexpr DWORD WS_MAXIMIZE = 0x01000000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_THICKFRAME = 0x00040000u;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000u;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000u;

// WM_DEVICECHANGE's wParam when devices came or went.
constexpr WPARAM DBT_DEVNODES_CHANGED = 0x0007;

// Virtual-key codes the program's own handling looks at.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_F4 = 0x73;
constexpr int VK_F12 = 0x7B;

inline LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>((static_cast<DWORD>(high & 0xFFFF) << 16) | static_cast<DWORD>(low & 0xFFFF));
}

// Creates a window and sends it WM_CREATE. A top-level window (no parent, not WS_CHILD) with a
// non-zero size is the program's one visible window: it opens the backend's window (borderless
// and over the whole desktop when it has no caption). Returns nullptr if that fails; the reason
// is then in LastWindowError(). Windows of zero size (the application's own) stay invisible.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, WNDPROC wndProc);
// Sends WM_DESTROY, closes the backend's window if this window owns it, and forgets the window.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
const std::string& LastWindowError();

// The window's procedure; replacing it returns the one it had.
WNDPROC GetWindowProc(HWND hwnd);
WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc);

LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
BOOL SetWindowText(HWND hwnd, const char* text);
std::string GetWindowText(HWND hwnd);
HWND GetParent(HWND hwnd);

// Shows, hides or minimises. Showing the visible window makes it the foreground window
// (unless SW_SHOWNOACTIVATE), with WM_ACTIVATEAPP and WM_ACTIVATE as on the real platform.
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
// The window in front. A handle that is not one of this program's windows stands for another
// program's window (tests use that to put the program in the background).
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);

// Calls the window's procedure now.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a message; it is handed out before any new backend event.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// The default handling: WM_CLOSE destroys the window; WM_SYSCOMMAND's SC_CLOSE closes it and
// SC_MINIMIZE minimises it; everything else is answered with 0.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The next message, if one waits: posted messages first, then the backend's events turned into
// messages. PM_REMOVE takes it out of the queue.
constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
LRESULT DispatchMessage(const MSG* msg);
// Waits until a message is there or timeoutMs have passed; true when one is there.
bool WaitMessageTimeout(DWORD timeoutMs);

// The key states by virtual-key code (256 bytes, bit 7 set while down); FALSE for a null buffer.
BOOL GetKeyboardState(BYTE* keyState);

// Forgets every window and queued message (tests start from a clean desk with this).
void ResetWindows();
