// Window objects: creation over the backend, procedures, activation order, and the backend's
// events as messages.
#include "platform/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/headless/HeadlessBackend.h"

namespace {

constexpr UINT WM_USER_TEST = WM_USER + 1;

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetWindows();
  }
  void TearDown() override {
    ResetWindows();
    SetBackend(nullptr);
  }

  // A window that writes down every message it gets as "<name>:<message>:<wParam>".
  HWND Logged(const char* name, int width, int height, HWND parent = nullptr, DWORD style = WS_POPUP) {
    return CreateWindowEx(0, "Test", name, style, 0, 0, width, height, parent,
                          [this, name](HWND h, UINT m, WPARAM w, LPARAM l) {
                            log.push_back(std::string(name) + ":" + std::to_string(m) + ":" + std::to_string(w));
                            return DefWindowProc(h, m, w, l);
                          });
  }

  void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }

  static std::string Entry(const char* name, UINT message, WPARAM w = 0) {
    return std::string(name) + ":" + std::to_string(message) + ":" + std::to_string(w);
  }

  THeadlessBackend backend;
  std::vector<std::string> log;
};

TEST_F(WindowsTest, OnlyASizedTopLevelWindowOpensTheBackendWindow) {
  HWND hidden = Logged("app", 0, 0);
  ASSERT_TRUE(hidden);
  EXPECT_FALSE(backend.WindowOpen);
  HWND main = Logged("main", 1024, 768);
  ASSERT_TRUE(main);
  EXPECT_TRUE(backend.WindowOpen);
  EXPECT_EQ(backend.WindowTitle, "main");
  EXPECT_EQ(log.front(), Entry("app", WM_CREATE));
  EXPECT_EQ(log.back(), Entry("main", WM_CREATE));

  EXPECT_FALSE(Logged("second", 640, 480)) << "there is one backend window";
  HWND child = Logged("child", 100, 100, main, WS_CHILD);
  EXPECT_TRUE(child);

  log.clear();
  DestroyWindow(main);
  EXPECT_FALSE(backend.WindowOpen);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(log, (std::vector<std::string>{Entry("main", WM_DESTROY), Entry("child", WM_DESTROY)}));
}

TEST_F(WindowsTest, AFailedBackendWindowIsReportedWithItsReason) {
  backend.WindowAllowed = false;
  EXPECT_EQ(Logged("main", 1024, 768), nullptr);
  EXPECT_EQ(LastWindowError(), "no display in this headless run");
}

TEST_F(WindowsTest, ShowingActivatesInThePlatformsOrder) {
  HWND app = Logged("app", 0, 0);
  HWND main = Logged("main", 1024, 768);
  log.clear();
  ShowWindow(main, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetForegroundWindow(), main);
  EXPECT_EQ(log, (std::vector<std::string>{Entry("main", WM_SHOWWINDOW, 1), Entry("main", WM_WINDOWPOSCHANGED),
                                           Entry("app", WM_ACTIVATEAPP, 1), Entry("main", WM_ACTIVATEAPP, 1),
                                           Entry("main", WM_ACTIVATE, WA_ACTIVE)}));
  (void)app;

  log.clear();
  backend.PushEvent(TBackendEvent::beActivate);  // already in front: nothing new
  backend.PushEvent(TBackendEvent::beDeactivate);
  backend.PushEvent(TBackendEvent::beDeactivate);
  Pump();
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{Entry("main", WM_ACTIVATE, WA_INACTIVE), Entry("app", WM_ACTIVATEAPP, 0),
                                           Entry("main", WM_ACTIVATEAPP, 0)}));
}

TEST_F(WindowsTest, BackendEventsBecomeMessages) {
  HWND main = Logged("main", 1024, 768);
  log.clear();
  TBackendEvent key;
  key.Type = TBackendEvent::beKeyDown;
  key.VirtualKey = 0x26;
  key.ScanCode = 0xC8;
  backend.Events.push_back(key);
  key.Type = TBackendEvent::beKeyUp;
  backend.Events.push_back(key);
  backend.PushEvent(TBackendEvent::bePaint);
  backend.PushEvent(TBackendEvent::beJoystickAdded);
  backend.PushEvent(TBackendEvent::beShown);
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{Entry("main", WM_KEYDOWN, 0x26), Entry("main", WM_KEYUP, 0x26),
                                           Entry("main", WM_PAINT), Entry("main", WM_DEVICECHANGE, DBT_DEVNODES_CHANGED),
                                           Entry("main", WM_SHOWWINDOW, 1), Entry("main", WM_WINDOWPOSCHANGED)}));
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(WindowsTest, CloseAndAltF4DestroyThroughTheDefaultHandling) {
  HWND main = Logged("main", 1024, 768);
  backend.PushEvent(TBackendEvent::beClose);
  Pump();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(backend.WindowOpen);

  main = Logged("main", 1024, 768);
  TBackendEvent altF4;
  altF4.Type = TBackendEvent::beKeyDown;
  altF4.VirtualKey = VK_F4;
  altF4.Alt = true;
  backend.Events.push_back(altF4);
  Pump();
  EXPECT_FALSE(IsWindow(main));
}

TEST_F(WindowsTest, ProceduresCanBeReplacedAndChained) {
  HWND main = Logged("main", 1024, 768);
  WNDPROC previous;
  previous = SetWindowProc(main, [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_USER_TEST) return 7;
    return previous(h, m, w, l);
  });
  EXPECT_EQ(SendMessage(main, WM_USER_TEST, 0, 0), 7);
  log.clear();
  SendMessage(main, WM_PAINT, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{Entry("main", WM_PAINT)}));
}

TEST_F(WindowsTest, StylesAndPostedMessages) {
  HWND app = Logged("app", 0, 0);
  SetWindowLong(app, GWL_EXSTYLE, GetWindowLong(app, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLong(app, GWL_EXSTYLE), static_cast<LONG>(WS_EX_TOOLWINDOW));
  log.clear();
  PostMessage(app, WM_NULL, 5, 0);
  PostQuitMessage(3);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, app);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
