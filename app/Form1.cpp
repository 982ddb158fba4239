// The game's form: start-up and the frame.
#include "app/Form1.h"

#include "display/DirectDrawSurfaceCanvas.h"
#include "framework/Extended.h"
#include "game/Main.h"
#include "game/Readouts.h"
#include "game/Ship.h"
#include "input/DXInput.h"
#include "shell/Resources.h"

TForm1* Form1 = nullptr;

// The stored form's text, compiled in by the build (app/CMakeLists.txt).
extern const unsigned char StoredForm1Data[];
extern const unsigned long StoredForm1Size;

TForm1::TForm1(TComponent* AOwner) : TDXForm(AOwner) {
  DefineField("DXDraw", DXDraw);
  DefineField("DXTimer", DXTimer);
  DefineField("DXInput", DXInput);
  DefineField("DXImageList", DXImageList);
  DefineHandler("FormCreate", TNotifyEvent([this](TObject* s) { FormCreate(s); }));
  DefineHandler("DXTimerTimer", TDXTimerEvent([this](TObject* s, int lag) { DXTimerTimer(s, lag); }));
}

void TForm1::FormCreate(TObject*) {
  CreateWorld([this] { DXDraw->SetCursor(crNone); });
}

void TForm1::DoStars() { ::DoStars(*DXDraw); }

void TForm1::DXTimerTimer(TObject*, int) {
  // Motion is counted per frame, so the tick's lag is not used. Without a running display there
  // is no frame surface to clear, draw on or flip (before the form is shown, or after the display
  // failed to start): such a tick is skipped as a whole, and the world waits for the display.
  if (!DXDraw || !DXDraw->Initialized() || !DXDraw->Surface->HasSurface()) return;
  TDirectDrawSurface& surface = *DXDraw->Surface;
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();

  // The canvas keeps these from the first frame on: white text without a background box.
  if (DXDraw->Tag == 0) {
    canvas.Brush.Style = bsClear;
    canvas.Font.Color = clWhite;
    canvas.Font.Name = "Terminal";
    canvas.Font.Size = 14;
  }
  DXDraw->Tag = 1;

  surface.Fill(0);
  // The velocity left by the previous frame; thrust and gravity of this frame act on the next.
  Player.X = static_cast<double>(Extended(Player.X) + Player.VX);
  Player.Y = static_cast<double>(Extended(Player.Y) + Player.VY);

  DoStars();

  Player.Landed = false;
  CurrentPlanet = 255;

  // Planets, in table order: each near one drawn, then its pull and contact; every one's radar
  // dot, over its own picture and under everything drawn later. The last near planet is current.
  for (std::uint16_t i = 0; i < PlanetCount; ++i) {
    TPlanet& planet = *Planets[i];
    if (DistToPlanet(i) < NearDistance) {
      CurrentPlanet = static_cast<std::uint8_t>(i);
      planet.DrawPlanet(*DXDraw, *DXImageList, Player.X, Player.Y);
      planet.GravityAndLanding(Player);
    }
    DrawRadarDot(planet, *DXDraw, *DXImageList);
  }

  // Input: poll the keyboard and the joystick into the input states.
  if (DXInput) DXInput->Update();
  if (DXInput && OnFrameInput) OnFrameInput(DXInput->InputStates);

  // A destroyed ship can no longer be steered, and is no longer drawn.
  if (Player.Hull > 0) {
    TShipControls controls = DXInput ? ShipControlsFrom(DXInput->InputStates) : TShipControls{};
    ControlShip(*DXDraw, *DXImageList, Player, controls);
  }
  if (Player.Hull > 0) DrawShip(*DXDraw, *DXImageList, Player);

  for (auto& explosion : Explosions)
    if (explosion->Alpha != 0) explosion->DrawFrame(*DXDraw, *DXImageList);
  if (CurrentPlanet != 255)
    Planets[CurrentPlanet]->DrawInfoPanel(*DXDraw, *DXImageList, Player.Landed);

  Messages->DrawLog(*DXDraw);

  canvas.TextOut(0, 0, FrameRateText(DXTimer->FramesPerSecond()));
  canvas.TextOut(0, 40, SpeedText(Speed(Player)));
  canvas.TextOut(0, 60, HullText(Player.Hull));
  canvas.Release();

  DXDraw->Flip();
  if (OnFrameEnd) OnFrameEnd();
}

void RegisterAppClasses() {
  RegisterFrameworkClasses();
  RegisterDXDrawClasses();
  RegisterInputClasses();
  RegisterDXImageListClasses();
  RegisterResource("Form1.dfm", StoredForm1Data, StoredForm1Size);
}
