// The game's form made from its embedded stored form on the headless backend, and the frame
// timer driven by the message loop turn by turn on the fake clock.
#include "app/Form1.h"

#include <gtest/gtest.h>

#include "game/Main.h"
#include "tests/ShellFixture.h"

namespace {

class Form1Test : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    RegisterAppClasses();
    Application->Initialize();
    Application->SetTitle("Tarnyx");
    Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    ASSERT_NE(Form1->DXTimer, nullptr);
    Form1->DXTimer->OnTimer = [this](TObject* sender, int lag) {
      ++ticks;
      Form1->DXTimerTimer(sender, lag);
    };
  }

  // Runs the loop for `ms` milliseconds of fake time, one turn per millisecond.
  void RunFor(int ms) {
    for (int i = 0; i < ms; ++i) {
      ++backend.Clock;
      ASSERT_TRUE(Application->ProcessMessagesAndIdle());
    }
  }

  int ticks = 0;
};

TEST_F(Form1Test, IsMadeFromItsStoredForm) {
  EXPECT_EQ(Application->Title(), "Tarnyx");
  EXPECT_EQ(Application->MainForm, Form1);
  EXPECT_EQ(Form1->Name, "Form1");
  EXPECT_EQ(Form1->Caption(), "Tarnyx");
  EXPECT_EQ(Form1->BorderStyle, bsNone);
  EXPECT_EQ(Form1->ClientWidth(), 1024);
  EXPECT_EQ(Form1->ClientHeight(), 768);
  EXPECT_FALSE(Form1->Scaled);
  TDXTimer* timer = Form1->DXTimer;
  EXPECT_EQ(timer->Name, "DXTimer");
  EXPECT_TRUE(timer->ActiveOnly());
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 20u);
  EXPECT_TRUE(timer->Running()) << "Loaded started it";
  EXPECT_TRUE(Application->OnIdle);
  EXPECT_NE(Planets[0], nullptr) << "FormCreate built the world";
  EXPECT_EQ(Player.Hull, 100);
}

TEST_F(Form1Test, TicksOncePerTwentyMillisecondsAndNotWhileInactive) {
  Application->BeginRun();
  EXPECT_TRUE(backend.WindowOpen);
  EXPECT_EQ(backend.WindowTitle, "Tarnyx");
  // Showing the form activated the application; its notice re-attaches the timer at time 0.
  Application->ProcessMessages();
  RunFor(1000);
  EXPECT_EQ(ticks, 50);
  EXPECT_EQ(Form1->DXTimer->FramesPerSecond(), 50);

  backend.PushEvent(TBackendEvent::beDeactivate);
  RunFor(500);
  EXPECT_EQ(ticks, 50);
  EXPECT_FALSE(Application->Active());

  backend.PushEvent(TBackendEvent::beActivate);
  Application->ProcessMessages();
  RunFor(19);
  EXPECT_EQ(ticks, 50) << "the pause does not count towards the next tick";
  RunFor(1);
  EXPECT_EQ(ticks, 51);
}

TEST_F(Form1Test, ClosingEndsTheLoopAndDestroysTheWindow) {
  Application->BeginRun();
  backend.PushEvent(TBackendEvent::beClose);
  EXPECT_FALSE(Application->ProcessMessagesAndIdle());
  Application->EndRun();
  EXPECT_FALSE(Form1->HandleAllocated());
  EXPECT_FALSE(backend.WindowOpen);
}

}  // namespace
