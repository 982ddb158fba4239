// TForm1: the game's one form, holding its components and the game's handlers.
#pragma once

#include <functional>

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "framework/DXForm.h"
#include "framework/DXTimer.h"
#include "input/DXInput.h"

// The main form. Its stored form (assets/Form1.dfm) makes the display and the frame timer and
// binds the handlers by name: FormCreate builds the world, DXTimerTimer runs one frame.
class TForm1 : public TDXForm {
 public:
  explicit TForm1(TComponent* AOwner);

  TDXDraw* DXDraw = nullptr;
  TDXTimer* DXTimer = nullptr;
  TDXInput* DXInput = nullptr;
  TDXImageList* DXImageList = nullptr;

  void FormCreate(TObject* Sender);
  void DXTimerTimer(TObject* Sender, int LagCount);
  void DoStars();

  // Where demos hook into the frame; both are empty unless one is recorded or played. Each frame
  // calls OnFrameInput with the input states it is about to consume, right after the input
  // component's Update (a recorder keeps them, a player replaces them), and OnFrameEnd once the
  // frame is flipped. A tick that draws no frame (no running display) calls neither.
  std::function<void(TInputStates& States)> OnFrameInput;
  std::function<void()> OnFrameEnd;
};

extern TForm1* Form1;

// Makes every class the stored form names known to its reader, and the stored form itself
// available; the process entry (and the headless tool) calls it once before creating the form.
void RegisterAppClasses();
