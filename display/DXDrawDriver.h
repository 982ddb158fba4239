// The two ways the display component presents its frame surface: flipping a back buffer, or
// copying an off-screen surface onto the screen.
#pragma once

class TCustomDXDraw;

// A presentation driver: makes the display object on creation, the surfaces, palette and
// clipper in Initialize, shows the frame in Flip, and frees everything (the platform objects
// first, the display object last) when it goes.
class TDXDrawDriver {
 public:
  explicit TDXDrawDriver(TCustomDXDraw* owner);
  virtual ~TDXDrawDriver();
  TDXDrawDriver(const TDXDrawDriver&) = delete;
  TDXDrawDriver& operator=(const TDXDrawDriver&) = delete;

  virtual void Initialize() = 0;
  virtual void Flip() = 0;
  // A new frame surface size while running; drivers that cannot resize ignore it.
  virtual void SetSurfaceSize(int, int) {}

 protected:
  TCustomDXDraw* FOwner;
};

// The primary surface with one attached back buffer (the frame surface), shown by flipping.
// The game's driver.
class TDXDrawDriverFlip : public TDXDrawDriver {
 public:
  using TDXDrawDriver::TDXDrawDriver;
  void Initialize() override;
  void Flip() override;
};

// A visible primary surface with a clipper on the control's window, and an off-screen frame
// surface copied onto it (centred or stretched) at each Flip.
class TDXDrawDriverBlt : public TDXDrawDriver {
 public:
  using TDXDrawDriver::TDXDrawDriver;
  void Initialize() override;
  void Flip() override;
  void SetSurfaceSize(int width, int height) override;

 private:
  void MakeFrameSurface();
};
