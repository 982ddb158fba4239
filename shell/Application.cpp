// The application object and its message loop.
#include "shell/Application.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/SystemTime.h"
#include "shell/Exception.h"

namespace {
// How long the loop blocks at a time when nothing asks it to poll; it then looks again. Also the
// longest wait for an idle handler's wake-up time.
constexpr DWORD kBlockMs = 1000;
// How long it waits for a message between two calls of an idle handler that keeps it polling
// without saying until when.
constexpr DWORD kPollMs = 1;
}  // namespace

TApplication* Application = new TApplication(nullptr);

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  FHandle = CreateWindowEx(0, "TApplication", "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU, 0,
                           0, 0, 0, nullptr, [this](HWND, UINT msg, WPARAM w, LPARAM l) {
                             TMessage m{msg, w, l, 0};
                             try {
                               WndProc(m);
                             } catch (...) {
                               HandleException(this);
                             }
                             return m.Result;
                           });
}

TApplication::~TApplication() {
  // The forms go first, while the hooks and the window they use still exist.
  while (!Components().empty()) delete Components().back();
  if (FHandle) DestroyWindow(FHandle);
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  FTitle = title;
  SetWindowText(FHandle, title.c_str());
}

void TApplication::Run() {
  BeginRun();
  while (!FTerminated) HandleMessage();
  EndRun();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::BeginRun() {
  if (MainForm) MainForm->Show();
}

void TApplication::EndRun() {
  if (MainForm) MainForm->DestroyHandle();
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  try {
    if (!FAppKeys.Handle(msg)) DispatchMessage(&msg);
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (!FTerminated && ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

bool TApplication::ProcessMessagesAndIdle() {
  ProcessMessages();
  if (FTerminated) return false;
  bool done = true;
  CallIdleHandler(done);
  return !FTerminated;
}

void TApplication::CallIdleHandler(bool& done) {
  try {
    if (OnIdle) {
      // A copy: the handler may replace or clear itself.
      TIdleEvent handler = OnIdle;
      handler(this, done);
    }
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::Idle() {
  bool done = true;
  FWakeAtSet = false;
  CallIdleHandler(done);
  if (done || !FWakeAtSet) {
    WaitMessageTimeout(done ? kBlockMs : kPollMs);
    return;
  }
  // Signed: a time already past (the handler ran long) means no sleep at all.
  DWORD now = timeGetTime();
  auto left = static_cast<std::int32_t>(FWakeAt - now);
  if (left > 0) SleepUntil(static_cast<DWORD>(left) > kBlockMs ? now + kBlockMs : FWakeAt);
}

void TApplication::IdleWakeAt(DWORD time) {
  FWakeAtSet = true;
  FWakeAt = time;
}

int TApplication::HookMainWindow(TWindowHook hook) {
  int id = FNextHook++;
  FHooks.emplace_back(id, std::move(hook));
  return id;
}

void TApplication::UnhookMainWindow(int hook) {
  std::erase_if(FHooks, [hook](const auto& h) { return h.first == hook; });
}

void TApplication::WndProc(TMessage& Message) {
  // By index and by copy: a hook may remove itself or others.
  for (size_t i = 0; i < FHooks.size(); ++i) {
    TWindowHook hook = FHooks[i].second;
    if (hook(Message)) return;
  }
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      FActive = Message.WParam != 0;
      PostMessage(FHandle, FActive ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
      break;
    case CM_ACTIVATE:
      if (OnActivate) OnActivate(this);
      break;
    case CM_DEACTIVATE:
      if (OnDeactivate) OnDeactivate(this);
      break;
    case WM_CLOSE:
      if (MainForm) MainForm->Close();
      break;
    default:
      Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
}

void TApplication::HandleException(TObject*) {
  ++ExceptionCount;
  try {
    throw;
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    std::fputs("unknown exception\n", stderr);
  }
}

void TApplication::ShowException(const std::exception& e) {
  std::string line = ExceptionClassName(e) + ": " + e.what() + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void ResetApplication() {
  delete Application;
  ResetWindows();
  Application = new TApplication(nullptr);
}
