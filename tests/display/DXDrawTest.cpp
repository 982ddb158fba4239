// The display component: options, start on show, listeners, flip, loss and restore, modes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/DXDraw.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"
#include "tests/DisplayFixture.h"

namespace {

// Every notification a listener hears, by name.
std::vector<std::string>* heard = nullptr;
void Listen(void*, TCustomDXDraw*, TDXDrawNotifyType t) {
  static const char* names[] = {"Destroying", "Initializing", "Initialize", "InitializeSurface",
                                "Finalize",   "FinalizeSurface", "Restore", "Changed"};
  if (heard) heard->push_back(names[t]);
}

// A borderless 1024x768 form holding a display with the game's settings.
class DXDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetApplication();
    SetEmulatedDisplayModes({});
    heard = &log;
    draw = NewGameDisplay(form);
  }
  void TearDown() override {
    ResetApplication();
    heard = nullptr;
    SetEmulatedDisplayModes({});
    SetBackend(nullptr);
  }
  void Start() {
    form->Show();
    ASSERT_TRUE(draw->Initialized());
    log.clear();
  }

  THeadlessBackend backend;
  std::vector<std::string> log;
  TForm* form = nullptr;
  TDXDraw* draw = nullptr;
};

TEST_F(DXDrawTest, ActiveOptionsFollowTheRules) {
  TDXDraw plain(nullptr);
  EXPECT_EQ(plain.Options(), 0x1C8C);
  EXPECT_EQ(plain.ActiveOptions(), 0x0088);  // not full screen, no 3-D: wait and centre remain
  EXPECT_EQ(draw->ActiveOptions(), 0x018D);
  plain.SetOptions(OptionBit(doFullScreen) | OptionBit(doFlip) | OptionBit(doSystemMemory));
  EXPECT_EQ(plain.ActiveOptions(), OptionBit(doFullScreen) | OptionBit(doSystemMemory));
}

TEST_F(DXDrawTest, StartsWhenTheFormIsShownAndTellsListenersInOrder) {
  draw->AddListener(&Listen, nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"Changed"});
  form->Show();
  ASSERT_TRUE(draw->Initialized());
  EXPECT_EQ(log, (std::vector<std::string>{"Changed", "Initializing", "Changed", "Initialize", "InitializeSurface",
                                           "Restore"}));
  EXPECT_EQ(CurrentDisplayMode().Width, 1024u);
  EXPECT_EQ(CurrentDisplayMode().BitCount, 8u);
  EXPECT_EQ(draw->Surface->Width(), 1024);
  EXPECT_EQ(draw->Surface->BitCount(), 8);
  EXPECT_EQ(draw->SurfaceWidth(), 1024);
  // The palette's ends are the system's static colours; every entry carries the flag 0x40.
  PALETTEENTRY e[256];
  ASSERT_TRUE(draw->Palette->GetEntries(0, 256, e));
  EXPECT_EQ(e[255].peRed, 255);
  EXPECT_EQ(e[255].peFlags, 0x40);
  EXPECT_EQ(e[0].peRed, 0);
  // A late listener hears the display is up at once.
  log.clear();
  draw->AddListener(&Listen, &log);
  EXPECT_EQ(log, (std::vector<std::string>{"Changed", "Initialize", "Restore"}));
  log.clear();
  draw->RemoveListener(&Listen, &log);
  EXPECT_EQ(log, std::vector<std::string>{"Finalize"});
}

TEST_F(DXDrawTest, FlipPresentsOnlyWhileTheFormIsActive) {
  Start();
  draw->Surface->Fill(9);
  long before = backend.PresentCount;
  draw->Flip();
  EXPECT_EQ(backend.PresentCount, before + 1);
  EXPECT_EQ(backend.Frame[100], 9);
  // The form no longer in front (without the program losing the screen): nothing is shown.
  form->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  ASSERT_FALSE(form->Active());
  draw->Flip();
  EXPECT_EQ(backend.PresentCount, before + 1);
  EXPECT_EQ(draw->Primary->DXResult, DD_OK);
}

TEST_F(DXDrawTest, ALostScreenIsRestoredWithItsPaletteAtTheNextFlip) {
  Start();
  draw->AddListener(&Listen, nullptr);
  draw->Surface->Fill(9);
  PALETTEENTRY wrong[256] = {};
  ASSERT_TRUE(draw->Palette->SetEntries(0, 256, wrong));
  log.clear();
  form->Perform(WM_ACTIVATEAPP, FALSE_, 0);  // the user switched away
  EXPECT_EQ(draw->Primary->ISurface4()->IsLost(), DDERR_SURFACELOST);
  long before = backend.PresentCount;
  draw->Flip();  // still away: cannot restore, shows nothing
  EXPECT_EQ(backend.PresentCount, before);
  form->Perform(WM_ACTIVATEAPP, TRUE_, 0);
  log.clear();
  draw->Flip();
  EXPECT_EQ(log, std::vector<std::string>{"Restore"});
  EXPECT_EQ(backend.PresentCount, before + 1);
  EXPECT_EQ(backend.Frame[100], 0);  // restored surfaces are filled with 0
  PALETTEENTRY e[256];
  ASSERT_TRUE(draw->Palette->GetEntries(0, 256, e));
  EXPECT_EQ(e[255].peRed, 255);
  EXPECT_EQ(backend.FramePalette[255], 0xFFFFFFu);
}

TEST_F(DXDrawTest, InitializeTwiceFinalizesFirst) {
  Start();
  draw->AddListener(&Listen, nullptr);
  log.clear();
  draw->Initialize();
  EXPECT_TRUE(draw->Initialized());
  EXPECT_EQ(log, (std::vector<std::string>{"FinalizeSurface", "Finalize", "Initializing", "Changed", "Initialize",
                                           "InitializeSurface", "Restore"}));
  log.clear();
  form->DestroyHandle();  // WM_DESTROY stops the display
  EXPECT_FALSE(draw->Initialized());
  EXPECT_EQ(log, (std::vector<std::string>{"FinalizeSurface", "Finalize"}));
  EXPECT_EQ(draw->DDraw, nullptr);
  EXPECT_EQ(draw->SurfaceWidth(), 1024);  // the size is remembered
}

TEST_F(DXDrawTest, ModeSearchPrefersTheRatio) {
  SetEmulatedDisplayModes({{1280, 1024, 8}, {1600, 1200, 8}, {1024, 768, 16}});
  Start();
  EXPECT_EQ(CurrentDisplayMode().Width, 1600u);
  EXPECT_EQ(CurrentDisplayMode().Height, 1200u);
  form->DestroyHandle();
  ResetApplication();
  SetUp();
  SetEmulatedDisplayModes({{1280, 1024, 8}, {640, 480, 8}, {1024, 768, 16}});
  Start();
  EXPECT_EQ(CurrentDisplayMode().Width, 1280u);
  EXPECT_EQ(CurrentDisplayMode().BitCount, 8u);
}

TEST_F(DXDrawTest, FailuresRaiseTheirTexts) {
  SetEmulatedDisplayModes({{1024, 768, 16}});
  try {
    draw->Initialize();
    ADD_FAILURE() << "no error";
  } catch (const EDXDrawError& e) {
    EXPECT_STREQ(e.what(), "Display mode cannot be changed (1024x768 8bit)");
  }
  EXPECT_FALSE(draw->Initialized());
  EXPECT_EQ(draw->DDraw, nullptr);  // everything made so far was given back
  TDXDraw alone(nullptr);
  try {
    alone.Initialize();
    ADD_FAILURE() << "no error";
  } catch (const EDXDrawError& e) {
    EXPECT_STREQ(e.what(), "Form not found");
  }
  try {
    draw->Display().SetBitCount(15);
    ADD_FAILURE() << "no error";
  } catch (const EDirectDrawError& e) {
    EXPECT_STREQ(e.what(), "It should be either of 8 or 16 or 24 or 32");
  }
  EXPECT_EQ(draw->Display().BitCount(), 8);
}

TEST_F(DXDrawTest, CopyingDriverCentresTheSurface) {
  draw->SetOptions(OptionBit(doCenter));
  draw->AutoSize = false;
  draw->SetSurfaceWidth(100);
  draw->SetSurfaceHeight(50);
  form->Show();
  ASSERT_TRUE(draw->Initialized());
  EXPECT_FALSE(draw->HasActiveOption(doFlip));
  draw->Surface->Fill(7);
  draw->Flip();
  ASSERT_EQ(backend.FrameWidth, 1024);
  EXPECT_EQ(backend.Frame[(384 - 25) * 1024 + 512 - 50], 7);
  EXPECT_EQ(backend.Frame[(384 - 26) * 1024 + 512 - 50], 0);
  draw->SetSurfaceWidth(200);  // the copying driver remakes its surface
  EXPECT_EQ(draw->Surface->Width(), 200);
}

TEST_F(DXDrawTest, CursorNoneHidesThePointer) {
  draw->SetCursor(crNone);
  EXPECT_FALSE(backend.CursorVisible);
  draw->SetCursor(crDefault);
  EXPECT_TRUE(backend.CursorVisible);
}

}  // namespace
