// The application object: the active flag and its notices, the hooks, the idle contract of the
// message loop, the exception report, and how the loop ends.
#include "shell/Application.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "shell/Exception.h"
#include "tests/ShellFixture.h"

namespace {

class ApplicationTest : public ShellFixture {
 protected:
  // A main form that is not read from a stored form.
  TForm* MakeMainForm() {
    auto* form = new TForm(Application);
    form->BorderStyle = bsNone;
    form->SetClientWidth(1024);
    form->SetClientHeight(768);
    form->SetCaption("Tarnyx");
    Application->MainForm = form;
    return form;
  }
};

TEST_F(ApplicationTest, IsActiveFromCreationAndFollowsTheForeground) {
  std::vector<UINT> seen;
  Application->HookMainWindow([&](TMessage& m) {
    if (m.Msg == CM_ACTIVATE || m.Msg == CM_DEACTIVATE) seen.push_back(m.Msg);
    return false;
  });
  EXPECT_TRUE(Application->Active());
  TForm* form = MakeMainForm();
  Application->BeginRun();
  EXPECT_TRUE(form->Active());
  Application->ProcessMessages();
  EXPECT_EQ(seen, (std::vector<UINT>{CM_ACTIVATE}));

  backend.PushEvent(TBackendEvent::beDeactivate);
  Application->ProcessMessages();
  EXPECT_FALSE(Application->Active());
  EXPECT_FALSE(form->Active());
  EXPECT_EQ(seen, (std::vector<UINT>{CM_ACTIVATE, CM_DEACTIVATE}));

  backend.PushEvent(TBackendEvent::beActivate);
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Active());
  EXPECT_EQ(seen.back(), CM_ACTIVATE);
}

TEST_F(ApplicationTest, AHandlingHookStopsTheMessageAndHooksCanBeRemoved) {
  int first = 0, second = 0;
  int a = Application->HookMainWindow([&](TMessage&) {
    ++first;
    return true;
  });
  Application->HookMainWindow([&](TMessage&) {
    ++second;
    return false;
  });
  SendMessage(Application->Handle(), WM_NULL, 0, 0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  Application->UnhookMainWindow(a);
  SendMessage(Application->Handle(), WM_NULL, 0, 0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

TEST_F(ApplicationTest, IdlePhaseBlocksUnlessTheHandlerAsksToPoll) {
  int calls = 0;
  bool poll = false;
  Application->OnIdle = [&](TObject*, bool& done) {
    ++calls;
    EXPECT_TRUE(done) << "the loop hands in done = true";
    if (poll) done = false;
  };
  Application->HandleMessage();
  EXPECT_EQ(calls, 1);
  EXPECT_GE(backend.WaitedMs, 500u) << "nothing to do: the loop blocks for a long while";

  poll = true;
  backend.WaitedMs = 0;
  Application->HandleMessage();
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(backend.WaitedMs, 1u) << "a polling handler: at most 1 ms until it is called again";

  // A waiting message is handled first; the idle handler is not called in that turn.
  PostMessage(Application->Handle(), WM_NULL, 0, 0);
  Application->HandleMessage();
  EXPECT_EQ(calls, 2);
}

TEST_F(ApplicationTest, ExceptionsAreReportedAndTheLoopGoesOn) {
  Application->OnIdle = [](TObject*, bool&) { throw std::runtime_error("idle broke"); };
  Application->HookMainWindow([](TMessage& m) -> bool {
    if (m.Msg == WM_USER) throw EReadError("hook broke");
    return false;
  });
  testing::internal::CaptureStderr();
  Application->HandleMessage();
  PostMessage(Application->Handle(), WM_USER, 0, 0);
  Application->HandleMessage();
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_EQ(report, "std::runtime_error: idle broke\nEReadError: hook broke\n");
  EXPECT_EQ(Application->ExceptionCount, 2);
  EXPECT_FALSE(Application->Terminated());
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsRunAndDestroysItsWindow) {
  TForm* form = MakeMainForm();
  std::vector<UINT> seen;
  form->WindowProc = [&, previous = form->WindowProc](TMessage& m) {
    seen.push_back(m.Msg);
    previous(m);
  };
  backend.PushEvent(TBackendEvent::beShown);
  backend.PushEvent(TBackendEvent::beClose);
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(backend.WindowOpen);
  EXPECT_EQ(backend.WindowTitle, "Tarnyx");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), WM_CREATE);
  EXPECT_EQ(seen.back(), WM_DESTROY);
}

TEST_F(ApplicationTest, RunWithoutAWindowSaysWhy) {
  backend.WindowAllowed = false;
  MakeMainForm();
  try {
    Application->Run();
    FAIL() << "Run should have thrown";
  } catch (const EWindowError& e) {
    EXPECT_STREQ(e.what(), "no display in this headless run");
  }
}

TEST_F(ApplicationTest, TurnsNeverBlockAndStopOnceTerminated) {
  MakeMainForm();
  Application->BeginRun();
  int calls = 0;
  Application->OnIdle = [&](TObject*, bool& done) {
    ++calls;
    done = false;
  };
  EXPECT_TRUE(Application->ProcessMessagesAndIdle());
  EXPECT_TRUE(Application->ProcessMessagesAndIdle());
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(backend.WaitedMs, 0u);
  Application->Terminate();
  EXPECT_FALSE(Application->ProcessMessagesAndIdle());
  EXPECT_EQ(calls, 2);
}

}  // namespace
