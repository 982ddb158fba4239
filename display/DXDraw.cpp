// The display component: options, start and stop, restore, flip, listeners and the hook on its
// form's window.
#include "display/DXDraw.h"

#include <cstdio>

#include "display/DXDrawDriver.h"
#include "platform/Backend.h"
#include "shell/FormReader.h"
#include "shell/StoredValue.h"

namespace {

constexpr TDXDrawOptions Options3D = 0x3C00;  // doRetainedMode .. doZBuffer
constexpr BYTE PC_NOCOLLAPSE = 0x40;

// Runs a clean-up when the scope ends, also when an exception passes through.
template <class F>
struct TFinally {
  F Action;
  ~TFinally() { Action(); }
};
template <class F>
TFinally(F) -> TFinally<F>;

const char* const OptionNames[] = {"doFullScreen",   "doNoWindowChange", "doAllowReboot", "doWaitVBlank",
                                   "doAllowPalette256", "doSystemMemory", "doStretch",     "doCenter",
                                   "doFlip",         "do3D",             "doRetainedMode", "doHardware",
                                   "doSelectDriver", "doZBuffer"};

}  // namespace

TCustomDXDraw::TCustomDXDraw(TComponent* AOwner) : TWinControl(AOwner) {
  FDisplay = std::make_unique<TDXDrawDisplay>(this);
  SetOptions(DefaultDXDrawOptions);
  // The screen's palette, in the colour tables' byte order.
  HDC screen = GetDC(nullptr);
  PALETTEENTRY entries[256] = {};
  GetSystemPaletteEntries(screen, 0, 256, entries);
  ReleaseDC(nullptr, screen);
  for (int i = 0; i < 256; ++i) ColorTable[size_t(i)] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  BaseColorTable = ColorTable;
  SetBounds(0, 0, 100, 100);
}

TCustomDXDraw::~TCustomDXDraw() {
  try {
    Finalize();
  } catch (...) {
    // A destructor cannot report; the platform objects are gone either way.
  }
  Notify(dnDestroying);
  FSubClass.reset();
  FListeners.clear();
}

// ---------------------------------------------------------------------------------------------
// Options and sizes
// ---------------------------------------------------------------------------------------------

void TCustomDXDraw::SetOptions(TDXDrawOptions value) {
  DeriveActiveOptions(value);
  FOptions = value;
}

void TCustomDXDraw::DeriveActiveOptions(TDXDrawOptions value) {
  TDXDrawOptions a;
  if (!FInitialized) {
    a = value;
    if (!(a & OptionBit(doFullScreen)))
      a &= TDXDrawOptions(~(OptionBit(doNoWindowChange) | OptionBit(doAllowReboot) | OptionBit(doAllowPalette256) |
                            OptionBit(doFlip)));
    if (!(a & OptionBit(do3D))) a &= TDXDrawOptions(~Options3D);
    if (a & OptionBit(doSystemMemory)) a &= TDXDrawOptions(~OptionBit(doFlip));
    a &= TDXDrawOptions(~OptionBit(doHardware));
  } else {
    // Only what can change while running takes the new value (bits 14 and 15 name nothing).
    const TDXDrawOptions live = OptionBit(doWaitVBlank) | OptionBit(doStretch) | OptionBit(doCenter) | 0xC000;
    a = TDXDrawOptions((FActiveOptions & ~live) | (value & live));
    if (!(a & OptionBit(do3D))) a &= TDXDrawOptions(~Options3D);
  }
  FActiveOptions = a;
}

int TCustomDXDraw::SurfaceWidth() const {
  return Surface && Surface->HasSurface() ? Surface->Width() : FSurfaceWidth;
}

int TCustomDXDraw::SurfaceHeight() const {
  return Surface && Surface->HasSurface() ? Surface->Height() : FSurfaceHeight;
}

void TCustomDXDraw::SetSurfaceSize(int width, int height) {
  if ((width == SurfaceWidth() && height == SurfaceHeight()) || FUpdating) return;
  if (!FInitialized) {
    FSurfaceWidth = width;
    FSurfaceHeight = height;
    return;
  }
  try {
    FDriver->SetSurfaceSize(width, height);
  } catch (...) {
    Finalize();
    throw;
  }
  Notify(dnChanged);
}

void TCustomDXDraw::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  if (AutoSize && !Loading()) SetSurfaceSize(width, height);
}

void TCustomDXDraw::SetCursor(TCursor value) {
  Cursor = value;
  // The control covers the whole window, so the pointer over it is the pointer over the window.
  if (HasBackend()) Backend().ShowCursor(value != crNone);
}

// ---------------------------------------------------------------------------------------------
// Start, stop, restore, flip
// ---------------------------------------------------------------------------------------------

TForm* TCustomDXDraw::ParentForm() const {
  for (TWinControl* p = Parent(); p; p = p->Parent())
    if (auto* form = dynamic_cast<TForm*>(p)) return form;
  return nullptr;
}

void TCustomDXDraw::Initialize() {
  FInitializeCalledOnce = true;
  Finalize();
  TForm* form = ParentForm();
  if (!form) throw EDXDrawError("Form not found");

  try {
    FireEvent(OnInitializing);
    FUpdating = true;
    FStarted = true;
    Notify(dnInitializing);
    {
      TFinally done{[this] { FUpdating = false; }};
      if (HasActiveOption(doFlip))
        FDriver = std::make_unique<TDXDrawDriverFlip>(this);
      else
        FDriver = std::make_unique<TDXDrawDriverBlt>(this);

      DWORD level = DDSCL_NORMAL;
      if (HasActiveOption(doFullScreen)) {
        level = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
        if (HasActiveOption(doNoWindowChange)) level |= DDSCL_NOWINDOWCHANGES;
        if (HasActiveOption(doAllowReboot)) level |= DDSCL_ALLOWREBOOT;
      }
      DDraw->DXResult = DDraw->IDraw()->SetCooperativeLevel(form->Handle(), level);

      if (HasActiveOption(doFullScreen)) {
        TDXDrawDisplay& d = Display();
        if (!d.SetDisplayModeFit(d.Width(), d.Height(), d.BitCount())) {
          char text[96];
          std::snprintf(text, sizeof text, "Display mode cannot be changed (%dx%d %dbit)", d.Width(), d.Height(),
                        d.BitCount());
          throw EDXDrawError(text);
        }
      }
      if (AutoSize) {
        FSurfaceWidth = Width();
        FSurfaceHeight = Height();
      }
      FDriver->Initialize();
    }
    FInitialized = true;
    ++FNotifyNesting;
  } catch (...) {
    Finalize();
    throw;
  }

  {
    TFinally lower{[this] { --FNotifyNesting; }};
    Notify(dnChanged);
    Notify(dnInitialize);
    FInitializeEventRun = true;
    FireEvent(OnInitialize);
    Notify(dnInitializeSurface);
    FSurfaceInitialized = true;
    FireEvent(OnInitializeSurface);
  }
  Restore();
}

void TCustomDXDraw::Finalize() {
  if (!FInitialized && !FStarted) return;
  FSurfaceWidth = SurfaceWidth();
  FSurfaceHeight = SurfaceHeight();
  Display().ClearModes();
  FUpdating = true;
  TFinally release{[this] {
    FInitialized = false;
    FStarted = false;
    DeriveActiveOptions(FOptions);
    FDriver.reset();
    FUpdating = false;
  }};
  if (FSurfaceInitialized) {
    FSurfaceInitialized = false;
    TFinally tell{[this] { Notify(dnFinalizeSurface); }};
    FireEvent(OnFinalizeSurface);
  }
  if (FInitializeEventRun) {
    FInitializeEventRun = false;
    TFinally tell{[this] { Notify(dnFinalize); }};
    FireEvent(OnFinalize);
  }
}

void TCustomDXDraw::Restore() {
  if (!FInitialized || FUpdating) return;
  FUpdating = true;
  TFinally done{[this] { FUpdating = false; }};
  if (!Primary->Restore() || !Surface->Restore()) return;
  Primary->Fill(0);
  Surface->Fill(0);
  Primary->SetPalette(Palette);
  Surface->SetPalette(Palette);
  UpdatePalette(BaseColorTable);
  Notify(dnRestore);
  FireEvent(OnRestoreSurface);
  UpdatePalette(ColorTable);
}

bool TCustomDXDraw::SurfaceReady() {
  if (!FInitialized || FUpdating || !Primary || !Primary->HasSurface()) return false;
  HRESULT lost = Primary->ISurface4()->IsLost();
  if (lost == DDERR_SURFACELOST) {
    Restore();
    return Primary->ISurface4()->IsLost() == DD_OK;
  }
  return true;
}

void TCustomDXDraw::Flip() {
  if (!FInitialized || FUpdating || !SurfaceReady()) return;
  FDriver->Flip();
}

void TCustomDXDraw::BuildPaletteEntries(const std::array<RGBQUAD, 256>& table, PALETTEENTRY* entries) const {
  for (int i = 0; i < 256; ++i) entries[i] = {table[size_t(i)].rgbRed, table[size_t(i)].rgbGreen, table[size_t(i)].rgbBlue, 0};
  if (!HasActiveOption(doAllowPalette256)) {
    PALETTEENTRY system[256] = {};
    HDC screen = GetDC(nullptr);
    GetSystemPaletteEntries(screen, 0, 256, system);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < 10; ++i) {
      entries[i] = system[i];
      entries[246 + i] = system[246 + i];
    }
  }
  for (int i = 0; i < 256; ++i) entries[i].peFlags = PC_NOCOLLAPSE;
}

void TCustomDXDraw::UpdatePalette(const std::array<RGBQUAD, 256>& table) {
  if (!FInitialized || !Palette || !Palette->HasPalette()) return;
  PALETTEENTRY entries[256];
  BuildPaletteEntries(table, entries);
  Palette->SetEntries(0, 256, entries);
}

// ---------------------------------------------------------------------------------------------
// Listeners
// ---------------------------------------------------------------------------------------------

void TCustomDXDraw::AddListener(TDXDrawNotifyProc proc, void* data) {
  FListeners.emplace_back(proc, data);
  proc(data, this, dnChanged);
  if (FInitialized) {
    proc(data, this, dnInitialize);
    if (FNotifyNesting == 0) proc(data, this, dnRestore);
  }
}

void TCustomDXDraw::RemoveListener(TDXDrawNotifyProc proc, void* data) {
  for (auto it = FListeners.begin(); it != FListeners.end(); ++it)
    if (it->first == proc && it->second == data) {
      FListeners.erase(it);
      if (FInitialized) proc(data, this, dnFinalize);
      return;
    }
}

void TCustomDXDraw::Notify(TDXDrawNotifyType type) {
  // Last registered first; a listener may leave the list while it is told.
  for (size_t i = FListeners.size(); i-- > 0;) {
    if (i >= FListeners.size()) continue;
    auto [proc, data] = FListeners[i];
    proc(data, this, type);
  }
}

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------

void TCustomDXDraw::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  TForm* form = ParentForm();
  if (form == FHookedForm) return;
  FSubClass.reset();
  FHookedForm = form;
  if (form)
    FSubClass = std::make_unique<TControlSubClass>(
        form, [this](TMessage& m, const TWndMethod& previous) { FormWndProc(m, previous); });
}

void TCustomDXDraw::FormWndProc(TMessage& Message, const TWndMethod& DefWindowProc) {
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED: {
      DefWindowProc(Message);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
      if (pos && (pos->flags & SWP_SHOWWINDOW) && AutoInitialize && !FInitializeCalledOnce) Initialize();
      return;
    }
    case WM_DESTROY:
      Finalize();
      break;
    case WM_ACTIVATE:
    case WM_INITMENU:
      if ((Message.Msg == WM_INITMENU || Message.WParam == WA_INACTIVE) && FInitialized &&
          HasActiveOption(doFullScreen) && HasActiveOption(doFlip))
        DDraw->DXResult = DDraw->IDraw()->FlipToGDISurface();
      break;
    case WM_ACTIVATEAPP:
      // The software display watches no window itself: it hears of switching away from here,
      // and marks its surfaces lost as the platform would.
      DirectDrawActivateApp(Message.WParam != 0);
      break;
    default:
      break;
  }
  DefWindowProc(Message);
}

void TCustomDXDraw::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    // Show the frame again at once, without waiting for the vertical blank. (The backend keeps
    // the presented frame, so there is no older video memory content to repaint over.)
    const bool waits = HasActiveOption(doWaitVBlank);
    FActiveOptions &= TDXDrawOptions(~OptionBit(doWaitVBlank));
    TFinally back{[&] {
      if (waits) FActiveOptions |= OptionBit(doWaitVBlank);
    }};
    Flip();
  }
  TWinControl::WndProc(Message);
}

void TCustomDXDraw::Loaded() {
  TWinControl::Loaded();
  if (AutoSize) {
    FSurfaceWidth = Width();
    FSurfaceHeight = Height();
  }
  Notify(dnChanged);
}

// ---------------------------------------------------------------------------------------------
// The stored form
// ---------------------------------------------------------------------------------------------

bool TCustomDXDraw::SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) {
  std::int64_t v = 0;
  bool b = false;
  if (name == "AutoInitialize") return StoredBoolean(value, AutoInitialize, error);
  if (name == "AutoSize") return StoredBoolean(value, AutoSize, error);
  if (name == "Display.Width" || name == "Display.Height" || name == "Display.BitCount" ||
      name == "SurfaceWidth" || name == "SurfaceHeight") {
    if (!StoredInteger(value, v, 0, 32767, error)) return false;
    if (name == "Display.Width") Display().SetWidth(int(v));
    else if (name == "Display.Height") Display().SetHeight(int(v));
    else if (name == "SurfaceWidth") SetSurfaceWidth(int(v));
    else if (name == "SurfaceHeight") SetSurfaceHeight(int(v));
    else {
      try {
        Display().SetBitCount(int(v));
      } catch (const EDirectDrawError& e) {
        error = e.what();
        return false;
      }
    }
    return true;
  }
  if (name == "Display.FixedBitCount" || name == "Display.FixedRatio" || name == "Display.FixedSize") {
    if (!StoredBoolean(value, b, error)) return false;
    (name == "Display.FixedBitCount" ? Display().FixedBitCount
     : name == "Display.FixedRatio"  ? Display().FixedRatio
                                     : Display().FixedSize) = b;
    return true;
  }
  if (name == "Options") {
    std::vector<std::string> items;
    if (!StoredSet(value, items, error)) return false;
    TDXDrawOptions set = 0;
    for (const std::string& item : items) {
      int bit = -1;
      for (int i = 0; i < 14; ++i)
        if (item == OptionNames[i]) bit = i;
      if (bit < 0) {
        error = "'" + item + "' is not a display option";
        return false;
      }
      set |= TDXDrawOptions(1u << bit);
    }
    SetOptions(set);
    return true;
  }
  if (name == "OnInitializing") return StoredEvent(value, OnInitializing, error);
  if (name == "OnInitialize") return StoredEvent(value, OnInitialize, error);
  if (name == "OnInitializeSurface") return StoredEvent(value, OnInitializeSurface, error);
  if (name == "OnFinalize") return StoredEvent(value, OnFinalize, error);
  if (name == "OnFinalizeSurface") return StoredEvent(value, OnFinalizeSurface, error);
  if (name == "OnRestoreSurface") return StoredEvent(value, OnRestoreSurface, error);
  return TWinControl::SetStoredProperty(name, value, error);
}

void RegisterDXDrawClasses() {
  RegisterComponentClass("TDXDraw", [](TComponent* owner) { return new TDXDraw(owner); });
}
