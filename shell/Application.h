// The application object: its hidden window, the forms, the message loop with its idle phase,
// the main-window hooks, the active flag and the standard report of unhandled exceptions.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "shell/AppKeys.h"
#include "shell/Form.h"

// The application's own notices to its window, posted when it gains or loses the foreground.
constexpr UINT CM_ACTIVATE = 0xB000;
constexpr UINT CM_DEACTIVATE = 0xB001;

// The idle handler: Done comes in true; setting it false keeps the loop from blocking.
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
// A hook on the application window's messages: true means handled (no one else sees it).
using TWindowHook = std::function<bool(TMessage& Message)>;

// The application. Its hidden window (no size, never shown) receives WM_ACTIVATEAPP and posts
// itself CM_ACTIVATE or CM_DEACTIVATE, which the main-window hooks see first. The message loop
// handles every waiting message; when none waits it enters the idle phase: Done := true, the idle
// handler runs, and if Done stayed true the loop blocks until the next message. If the handler
// set Done to false it wants to run again soon. If it named the time with IdleWakeAt (a frame
// timer's next tick), the loop sleeps until then, and the messages that came meanwhile are
// handled at that time, together: the process wakes once per tick, neither polling nor waking for
// each key repeat in between (a held key repeats 25 times a second, and each repeat costs a
// windowing system several wake-ups), while the game reads its keys only at ticks anyway. A
// handler that names no time is called again after at most 1 ms, or at the next message. An exception that escapes a message or the idle handler is
// reported (class and message on stderr) and the loop goes on. The loop ends with WM_QUIT, which
// Terminate posts and closing the main form causes; the main form's window is then destroyed.
// The program's own keys (TAppKeys) are taken out before any window sees them.
class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner = nullptr);
  ~TApplication() override;

  // Kept for the order of the process entry; there is nothing to prepare.
  void Initialize() {}
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title);
  HWND Handle() const { return FHandle; }

  // Creates a form owned by the application, reads its stored form and runs its OnCreate; the
  // first form created becomes the main form. On an error the form is freed and reference is
  // nullptr.
  template <class T>
  void CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    try {
      form->InitFromStoredForm();
    } catch (...) {
      reference = nullptr;
      delete form;
      throw;
    }
    if (!MainForm) MainForm = form;
  }
  TForm* MainForm = nullptr;

  // Shows the main form, runs the loop until the application terminates, destroys the main
  // form's window. Throws EWindowError when the window cannot be made.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // The parts of Run, for driving the loop turn by turn (the headless tool, the tests):
  void BeginRun();  // shows the main form
  void EndRun();    // destroys the main form's window
  bool ProcessMessage();  // handles one waiting message; false if none waited
  void ProcessMessages();  // handles every waiting message
  void HandleMessage();  // one message, or else the idle phase (which may block)
  // One turn that never blocks: every waiting message, then the idle handler once. Returns
  // false once the application has terminated.
  bool ProcessMessagesAndIdle();

  // Called from the idle handler: it needs to run again at time (timeGetTime's clock, wrapping).
  // Only the latest call of the current idle phase counts.
  void IdleWakeAt(DWORD time);

  // True from creation until the application first loses the foreground; then it follows it.
  bool Active() const { return FActive; }

  // The program's own keys, for a program to say what its sound keys do.
  TAppKeys& AppKeys() { return FAppKeys; }

  TIdleEvent OnIdle;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  // Hooks on the application window's messages, called in the order they were added. The
  // number returned removes the hook again.
  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int hook);

  // The standard report of the exception being handled: call from inside a catch block.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& e);
  long ExceptionCount = 0;  // reports made so far

 private:
  void Idle();
  void CallIdleHandler(bool& done);
  void WndProc(TMessage& Message);

  HWND FHandle = nullptr;
  std::string FTitle;
  bool FTerminated = false;
  bool FActive = true;
  bool FWakeAtSet = false;
  DWORD FWakeAt = 0;
  int FNextHook = 1;
  std::vector<std::pair<int, TWindowHook>> FHooks;
  TAppKeys FAppKeys;
};

// The one application object, made at program start. Tests may replace it with a fresh one.
extern TApplication* Application;

// Frees the application object with its forms, forgets every window and message, and makes a
// fresh application object: a clean start for tests and the headless tool.
void ResetApplication();
