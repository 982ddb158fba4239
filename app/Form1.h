// TForm1: the game's one form, holding its components and the game's handlers.
#pragma once

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
};

extern TForm1* Form1;

// Makes every class the stored form names known to its reader, and the stored form itself
// available; the process entry (and the headless tool) calls it once before creating the form.
void RegisterAppClasses();
