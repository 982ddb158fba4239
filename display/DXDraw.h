// TCustomDXDraw and TDXDraw: the full-screen display component with its display mode, frame
// surface, palette, flip, recovery from lost surfaces and listeners.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "display/DXDrawDisplay.h"
#include "display/DirectDraw.h"
#include "display/DirectDrawClipper.h"
#include "display/DirectDrawPalette.h"
#include "display/DirectDrawSurface.h"
#include "framework/ControlSubClass.h"
#include "platform/Gdi.h"
#include "shell/Form.h"

// The display options, by bit number.
enum TDXDrawOption {
  doFullScreen,       // exclusive full-screen level and a display mode change
  doNoWindowChange,   // ... with DDSCL_NOWINDOWCHANGES
  doAllowReboot,      // ... with DDSCL_ALLOWREBOOT
  doWaitVBlank,       // the copying driver waits for the vertical blank
  doAllowPalette256,  // all 256 palette entries are the program's own
  doSystemMemory,     // frame surface in system memory (reports where it really is)
  doStretch,          // the copying driver stretches the surface over the control
  doCenter,           // the copying driver centres the surface in the control
  doFlip,             // a primary surface with one back buffer, shown by flipping
  do3D,               // 3-D device support, and the options below: not built here
  doRetainedMode,
  doHardware,
  doSelectDriver,
  doZBuffer,
};
using TDXDrawOptions = std::uint16_t;  // a set of TDXDrawOption, one bit each
constexpr TDXDrawOptions OptionBit(TDXDrawOption o) { return TDXDrawOptions(1u << o); }
constexpr TDXDrawOptions DefaultDXDrawOptions = 0x1C8C;

// What listeners are told, in the order the component tells them.
enum TDXDrawNotifyType {
  dnDestroying,         // the component is going (after Finalize)
  dnInitializing,       // Initialize starts; no platform object exists yet
  dnInitialize,         // the platform objects exist
  dnInitializeSurface,  // after OnInitialize
  dnFinalize,           // end of Finalize
  dnFinalizeSurface,    // start of Finalize
  dnRestore,            // surfaces restored and palette set: reload what lived in them
  dnChanged,            // registration, after loading, surface size change, Initialize
};

class TCustomDXDraw;
using TDXDrawNotifyProc = void (*)(void* Data, TCustomDXDraw* Sender, TDXDrawNotifyType NotifyType);

class TDXDrawDriver;

// The display component: a control on the game's form that owns everything between the game and
// the screen. It starts when the form is first shown (Initialize): the display object, the
// cooperative level, the display mode (1024x768x8 for the game), the primary surface with its
// back buffer (Surface, which the game draws every frame), the palette and the flip. It stops
// when the form's window is destroyed (Finalize). A lost screen surface is noticed by the next
// Flip, which restores the surfaces and the palette and tells the listeners to reload.
class TCustomDXDraw : public TWinControl {
 public:
  explicit TCustomDXDraw(TComponent* AOwner);
  ~TCustomDXDraw() override;

  bool AutoInitialize = true;
  bool AutoSize = true;
  TDXDrawDisplay& Display() { return *FDisplay; }

  TDXDrawOptions Options() const { return FOptions; }
  void SetOptions(TDXDrawOptions value);
  TDXDrawOptions ActiveOptions() const { return FActiveOptions; }
  bool HasActiveOption(TDXDrawOption o) const { return FActiveOptions & OptionBit(o); }

  int SurfaceWidth() const;
  int SurfaceHeight() const;
  void SetSurfaceWidth(int value) { SetSurfaceSize(value, SurfaceHeight()); }
  void SetSurfaceHeight(int value) { SetSurfaceSize(SurfaceWidth(), value); }

  // The colour tables (blue, green, red, 0), read from the system palette at construction.
  std::array<RGBQUAD, 256> ColorTable{};
  std::array<RGBQUAD, 256> BaseColorTable{};

  // The platform objects, while initialized.
  TDirectDraw* DDraw = nullptr;
  TDirectDrawSurface* Primary = nullptr;
  TDirectDrawSurface* Surface = nullptr;
  TDirectDrawPalette* Palette = nullptr;
  TDirectDrawClipper* Clipper = nullptr;

  bool Initialized() const { return FInitialized; }
  bool Updating() const { return FUpdating; }
  void Initialize();
  void Finalize();
  void Restore();
  void Flip();
  // Whether the frame surface can be shown: the primary exists and is not lost (a lost one is
  // restored here first).
  bool SurfaceReady();
  // Sets the palette's entries from a colour table (only while initialized, with a palette).
  void UpdatePalette(const std::array<RGBQUAD, 256>& table);

  void AddListener(TDXDrawNotifyProc proc, void* data);
  void RemoveListener(TDXDrawNotifyProc proc, void* data);

  // The mouse pointer over the control; crNone (-1) hides it.
  void SetCursor(TCursor value);

  TNotifyEvent OnInitializing, OnInitialize, OnInitializeSurface, OnFinalize, OnFinalizeSurface,
      OnRestoreSurface;

  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override;

  // The form this component sits on, if any.
  TForm* ParentForm() const;

 protected:
  void WndProc(TMessage& Message) override;

 private:
  friend class TDXDrawDriver;
  friend class TDXDrawDriverFlip;
  friend class TDXDrawDriverBlt;

  void Notify(TDXDrawNotifyType type);
  void SetSurfaceSize(int width, int height);
  void DeriveActiveOptions(TDXDrawOptions value);
  void BuildPaletteEntries(const std::array<RGBQUAD, 256>& table, PALETTEENTRY* entries) const;
  void FormWndProc(TMessage& Message, const TWndMethod& DefWindowProc);
  void FireEvent(const TNotifyEvent& event) {
    if (event) event(this);
  }

  std::unique_ptr<TDXDrawDisplay> FDisplay;
  TDXDrawOptions FOptions = 0;
  TDXDrawOptions FActiveOptions = 0;
  int FSurfaceWidth = 0, FSurfaceHeight = 0;
  std::unique_ptr<TDXDrawDriver> FDriver;
  bool FInitialized = false;
  bool FStarted = false;             // Initialize made something that Finalize must undo
  bool FSurfaceInitialized = false;  // the surface events have run
  bool FInitializeEventRun = false;
  bool FUpdating = false;
  bool FInitializeCalledOnce = false;
  int FNotifyNesting = 0;  // raised while listeners hear of initialization
  std::vector<std::pair<TDXDrawNotifyProc, void*>> FListeners;
  std::unique_ptr<TControlSubClass> FSubClass;
  TForm* FHookedForm = nullptr;
};

// The display component as the form stores it.
class TDXDraw : public TCustomDXDraw {
 public:
  using TCustomDXDraw::TCustomDXDraw;
};

// Makes TDXDraw known to the stored-form reader.
void RegisterDXDrawClasses();
