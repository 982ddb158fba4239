// Windows and their messages over the backend's one window.
#include "platform/Windows.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "platform/Backend.h"

struct TWindow {
  std::string ClassName;
  std::string Text;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND Parent = nullptr;
  WNDPROC Proc;
  bool Backed = false;  // owns the backend's window
};

namespace {

struct TDesk {
  std::vector<std::unique_ptr<TWindow>> Windows;  // in creation order
  // Destroyed windows are kept until no message is being handled, so that a procedure that
  // destroys its own window can still return through it.
  std::vector<std::unique_ptr<TWindow>> Graveyard;
  std::deque<MSG> Queue;
  HWND Foreground = nullptr;
  std::string LastError;
  int SendDepth = 0;
};

TDesk& Desk() {
  static TDesk desk;
  return desk;
}

bool TopLevel(const TWindow* w) { return !w->Parent && !(w->Style & WS_CHILD); }

HWND BackedWindow() {
  for (auto& w : Desk().Windows)
    if (w->Backed) return w.get();
  return nullptr;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> result;
  for (auto& w : Desk().Windows)
    if (TopLevel(w.get())) result.push_back(w.get());
  return result;
}

void Bury() {
  TDesk& d = Desk();
  if (d.SendDepth == 0) d.Graveyard.clear();
}

// Moves the foreground to next, which may also be another program's window or none, with the
// activation messages in the platform's order: our old window's WM_ACTIVATE first, WM_ACTIVATEAPP
// to every top-level window when the program as a whole gains or loses the foreground, then our
// new window's WM_ACTIVATE.
void Activate(HWND next) {
  TDesk& d = Desk();
  HWND prev = d.Foreground;
  if (prev == next) return;
  d.Foreground = next;
  bool prevOurs = IsWindow(prev), nextOurs = IsWindow(next);
  if (prevOurs) SendMessage(prev, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(next));
  if (prevOurs != nextOurs) {
    WPARAM active = nextOurs ? TRUE_ : FALSE_;
    for (HWND w : TopLevelWindows()) SendMessage(w, WM_ACTIVATEAPP, active, 0);
  }
  if (nextOurs && IsWindow(next)) SendMessage(next, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(prev));
}

void Post(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  Desk().Queue.push_back(MSG{hwnd, message, wParam, lParam});
}

void ShowNow(HWND w) {
  w->Style |= WS_VISIBLE;
  SendMessage(w, WM_SHOWWINDOW, TRUE_, 0);
  WINDOWPOS pos{w, nullptr, w->X, w->Y, w->Width, w->Height, SWP_SHOWWINDOW};
  SendMessage(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

void PostPaint(HWND w) {
  Post(w, WM_PAINT);
  for (auto& child : Desk().Windows)
    if (child->Parent == w && (child->Style & WS_VISIBLE)) PostPaint(child.get());
}

// One backend event becomes the messages the platform would have produced for it.
void Translate(const TBackendEvent& e) {
  HWND main = BackedWindow();
  switch (e.Type) {
    case TBackendEvent::beQuit:
      if (main)
        Post(main, WM_CLOSE);
      else
        PostQuitMessage(0);
      return;
    case TBackendEvent::beJoystickAdded:
    case TBackendEvent::beJoystickRemoved:
      for (HWND w : TopLevelWindows()) Post(w, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
      return;
    default:
      break;
  }
  if (!main) return;
  switch (e.Type) {
    case TBackendEvent::beClose:
      Post(main, WM_CLOSE);
      break;
    case TBackendEvent::beShown:
      if (main->Style & WS_MINIMIZE) {
        main->Style &= ~WS_MINIMIZE;
        SendMessage(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(main->Width, main->Height));
      }
      if (!(main->Style & WS_VISIBLE)) ShowNow(main);
      break;
    case TBackendEvent::beActivate:
      Activate(main);
      break;
    case TBackendEvent::beDeactivate:
      if (Desk().Foreground == main) Activate(nullptr);
      break;
    case TBackendEvent::bePaint:
      PostPaint(main);
      break;
    case TBackendEvent::beResize:
      main->Width = e.Width;
      main->Height = e.Height;
      Post(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(e.Width, e.Height));
      break;
    case TBackendEvent::beKeyDown:
    case TBackendEvent::beKeyUp: {
      bool down = e.Type == TBackendEvent::beKeyDown;
      UINT message = e.Alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
      // lParam as the platform packs it: repeat count 1, scan code, extended flag, Alt, the
      // previous state (down already: a repeated press, or any release) and for a release the
      // transition bit.
      DWORD l = 1u | (static_cast<DWORD>(e.ScanCode & 0x7F) << 16);
      if (e.ScanCode & 0x80) l |= 1u << 24;
      if (e.Alt) l |= 1u << 29;
      if (!down || e.Repeat) l |= 1u << 30;
      if (!down) l |= 1u << 31;
      Post(main, message, static_cast<WPARAM>(e.VirtualKey), static_cast<LPARAM>(static_cast<LONG>(l)));
      break;
    }
    default:
      break;
  }
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, WNDPROC wndProc) {
  TDesk& d = Desk();
  d.LastError.clear();
  if (parent && !IsWindow(parent)) {
    d.LastError = "the parent window does not exist";
    return nullptr;
  }
  auto window = std::make_unique<TWindow>();
  TWindow* w = window.get();
  w->ClassName = className ? className : "";
  w->Text = windowName ? windowName : "";
  w->Style = style & ~WS_VISIBLE;
  w->ExStyle = exStyle;
  w->X = x;
  w->Y = y;
  w->Width = width;
  w->Height = height;
  w->Parent = parent;
  w->Proc = std::move(wndProc);
  if (TopLevel(w) && width > 0 && height > 0) {
    if (BackedWindow()) {
      d.LastError = "the program already has its window";
      return nullptr;
    }
    if (!HasBackend()) {
      d.LastError = "no backend";
      return nullptr;
    }
    bool borderless = !(style & WS_CAPTION);
    std::string error;
    if (!Backend().CreateMainWindow(w->Text, width, height, borderless, borderless, error)) {
      d.LastError = error.empty() ? "the window could not be made" : error;
      return nullptr;
    }
    w->Backed = true;
  }
  d.Windows.push_back(std::move(window));
  CREATESTRUCT cs{exStyle, className, windowName, style, x, y, width, height, parent};
  SendMessage(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
  if ((style & WS_VISIBLE) && IsWindow(w)) ShowWindow(w, SW_SHOW);
  return w;
}

BOOL DestroyWindow(HWND hwnd) {
  TDesk& d = Desk();
  if (!IsWindow(hwnd)) return FALSE_;
  if (d.Foreground == hwnd) d.Foreground = nullptr;
  ++d.SendDepth;  // keep the record alive while its procedure runs
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  for (auto& w : d.Windows)
    if (w->Parent == hwnd) children.push_back(w.get());
  for (HWND child : children) DestroyWindow(child);
  --d.SendDepth;
  auto it = std::find_if(d.Windows.begin(), d.Windows.end(),
                         [&](const std::unique_ptr<TWindow>& w) { return w.get() == hwnd; });
  if (it == d.Windows.end()) return TRUE_;  // destroyed again from its own WM_DESTROY
  if (hwnd->Backed && HasBackend()) Backend().DestroyMainWindow();
  hwnd->Backed = false;
  d.Graveyard.push_back(std::move(*it));
  d.Windows.erase(it);
  std::erase_if(d.Queue, [&](const MSG& m) { return m.hwnd == hwnd; });
  Bury();
  return TRUE_;
}

BOOL IsWindow(HWND hwnd) {
  if (!hwnd) return FALSE_;
  for (auto& w : Desk().Windows)
    if (w.get() == hwnd) return TRUE_;
  return FALSE_;
}

const std::string& LastWindowError() { return Desk().LastError; }

WNDPROC GetWindowProc(HWND hwnd) { return IsWindow(hwnd) ? hwnd->Proc : WNDPROC(); }

WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc) {
  if (!IsWindow(hwnd)) return WNDPROC();
  std::swap(hwnd->Proc, proc);
  return proc;
}

LONG GetWindowLong(HWND hwnd, int index) {
  if (!IsWindow(hwnd)) return 0;
  if (index == GWL_STYLE) return static_cast<LONG>(hwnd->Style);
  if (index == GWL_EXSTYLE) return static_cast<LONG>(hwnd->ExStyle);
  return 0;
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  if (!IsWindow(hwnd)) return 0;
  DWORD* field = index == GWL_STYLE ? &hwnd->Style : index == GWL_EXSTYLE ? &hwnd->ExStyle : nullptr;
  if (!field) return 0;
  LONG old = static_cast<LONG>(*field);
  *field = static_cast<DWORD>(value);
  return old;
}

BOOL SetWindowText(HWND hwnd, const char* text) {
  if (!IsWindow(hwnd)) return FALSE_;
  hwnd->Text = text ? text : "";
  return TRUE_;
}

std::string GetWindowText(HWND hwnd) { return IsWindow(hwnd) ? hwnd->Text : std::string(); }

HWND GetParent(HWND hwnd) { return IsWindow(hwnd) ? hwnd->Parent : nullptr; }

BOOL ShowWindow(HWND hwnd, int command) {
  if (!IsWindow(hwnd)) return FALSE_;
  BOOL wasVisible = (hwnd->Style & WS_VISIBLE) ? TRUE_ : FALSE_;
  switch (command) {
    case SW_HIDE:
      if (wasVisible) {
        hwnd->Style &= ~WS_VISIBLE;
        SendMessage(hwnd, WM_SHOWWINDOW, FALSE_, 0);
        WINDOWPOS pos{hwnd, nullptr, hwnd->X, hwnd->Y, hwnd->Width, hwnd->Height, SWP_HIDEWINDOW};
        SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
        if (Desk().Foreground == hwnd) Activate(nullptr);
      }
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      if (!wasVisible) ShowNow(hwnd);
      if (!(hwnd->Style & WS_MINIMIZE)) {
        hwnd->Style |= WS_MINIMIZE;
        SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
      }
      if (Desk().Foreground == hwnd) Activate(nullptr);
      break;
    default: {
      if (hwnd->Style & WS_MINIMIZE) {
        hwnd->Style &= ~WS_MINIMIZE;
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(hwnd->Width, hwnd->Height));
      }
      if (!wasVisible) ShowNow(hwnd);
      if (command != SW_SHOWNOACTIVATE && TopLevel(hwnd) && IsWindow(hwnd)) Activate(hwnd);
      break;
    }
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  return IsWindow(hwnd) && (hwnd->Style & WS_VISIBLE) ? TRUE_ : FALSE_;
}

BOOL IsIconic(HWND hwnd) { return IsWindow(hwnd) && (hwnd->Style & WS_MINIMIZE) ? TRUE_ : FALSE_; }

HWND GetForegroundWindow() { return Desk().Foreground; }

BOOL SetForegroundWindow(HWND hwnd) {
  Activate(hwnd);
  return TRUE_;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsWindow(hwnd) || !hwnd->Proc) return 0;
  TDesk& d = Desk();
  ++d.SendDepth;
  struct TLeave {
    TDesk& d;
    ~TLeave() { --d.SendDepth; }
  } leave{d};
  // A copy: the procedure may replace itself (an interception ending) while it runs.
  WNDPROC proc = hwnd->Proc;
  return proc(hwnd, message, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !IsWindow(hwnd)) return FALSE_;
  Post(hwnd, message, wParam, lParam);
  return TRUE_;
}

void PostQuitMessage(int exitCode) { Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(hwnd, WM_CLOSE, 0, 0);
      if ((wParam & 0xFFF0) == SC_MINIMIZE) ShowWindow(hwnd, SW_MINIMIZE);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the window, as the platform's own handling does.
      if (wParam == static_cast<WPARAM>(VK_F4)) SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    default:
      return 0;
  }
}

BOOL PeekMessage(MSG* msg, HWND, UINT, UINT, UINT removeFlags) {
  TDesk& d = Desk();
  Bury();
  if (d.Queue.empty() && HasBackend()) {
    TBackendEvent e;
    while (d.Queue.empty() && Backend().PollEvent(e)) Translate(e);
  }
  if (d.Queue.empty()) return FALSE_;
  *msg = d.Queue.front();
  if (removeFlags & PM_REMOVE) d.Queue.pop_front();
  return TRUE_;
}

LRESULT DispatchMessage(const MSG* msg) { return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam); }

bool WaitMessageTimeout(DWORD timeoutMs) {
  TDesk& d = Desk();
  if (!d.Queue.empty()) return true;
  if (!HasBackend()) return false;
  TBackendEvent e;
  if (!Backend().WaitEvent(e, timeoutMs)) return false;
  Translate(e);
  return true;
}

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState) return FALSE_;
  if (HasBackend())
    Backend().VirtualKeyState(keyState);
  else
    std::memset(keyState, 0, 256);
  return TRUE_;
}

void ResetWindows() {
  TDesk& d = Desk();
  if (BackedWindow() && HasBackend()) Backend().DestroyMainWindow();
  d.Queue.clear();
  d.Foreground = nullptr;
  d.LastError.clear();
  for (auto& w : d.Windows) d.Graveyard.push_back(std::move(w));
  d.Windows.clear();
  Bury();
}
