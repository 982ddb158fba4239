// The display-object wrappers: creation, surfaces with fill, pixels, locks and canvas, freeing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/DirectDraw.h"
#include "display/DirectDrawClipper.h"
#include "display/DirectDrawPalette.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "platform/Libraries.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

class DirectDrawWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    dd = new TDirectDraw();
    dd->IDraw4()->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
  }
  void TearDown() override {
    delete dd;
    SetBackend(nullptr);
  }
  TDirectDrawSurface* Surface(int w, int h, DWORD bits = 8) {
    auto* s = new TDirectDrawSurface(dd);
    DDSURFACEDESC d;
    std::memset(&d, 0, sizeof d);
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    d.dwWidth = DWORD(w);
    d.dwHeight = DWORD(h);
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    d.ddpfPixelFormat.dwRGBBitCount = bits;
    EXPECT_TRUE(s->CreateSurface(d));
    return s;
  }

  THeadlessBackend backend;
  TDirectDraw* dd = nullptr;
};

TEST_F(DirectDrawWrapperTest, FillAndPixelsUseRawValues) {
  TDirectDrawSurface* s = Surface(16, 8);
  s->Fill(0);
  EXPECT_TRUE(s->Succeeded());
  EXPECT_EQ(s->Pixels(3, 3), 0u);
  s->SetPixels(3, 3, 0xFFFFFF);  // white as a raw value: the low byte, palette entry 255
  EXPECT_EQ(s->Pixels(3, 3), 255u);
  s->Fill(7);
  EXPECT_EQ(s->Pixels(15, 7), 7u);
  // At and beyond the edges nothing is written and reads give 0.
  for (auto [x, y] : std::vector<std::pair<int, int>>{{16, 0}, {0, 8}, {-1, 0}, {0, -1}}) {
    s->SetPixels(x, y, 1);
    EXPECT_EQ(s->Pixels(x, y), 0u);
  }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(s->Pixels(x, y), 7u);
  delete s;
}

TEST_F(DirectDrawWrapperTest, PixelsAtEveryDepth) {
  struct Case {
    DWORD Bits, Value, ReadBack;
  };
  for (Case c : {Case{1, 5, 1}, Case{4, 0x1B, 0xB}, Case{8, 0x1234, 0x34}, Case{16, 0x12345, 0x2345},
                 Case{24, 0xFF123456, 0x123456}, Case{32, 0x89ABCDEF, 0x89ABCDEF}}) {
    TDirectDrawSurface* s = Surface(9, 2, c.Bits);
    s->SetPixels(5, 1, c.Value);
    EXPECT_EQ(s->Pixels(5, 1), c.ReadBack) << c.Bits << " bits";
    EXPECT_EQ(s->Pixels(4, 1), 0u) << c.Bits << " bits: the neighbour is untouched";
    EXPECT_EQ(s->Pixels(6, 1), 0u) << c.Bits << " bits: the neighbour is untouched";
    s->SetPixels(5, 1, 0);
    EXPECT_EQ(s->Pixels(5, 1), 0u) << c.Bits << " bits";
    delete s;
  }
}

TEST_F(DirectDrawWrapperTest, LockIsOneLevelDeep) {
  TDirectDrawSurface* s = Surface(4, 4);
  ASSERT_TRUE(s->Lock());
  EXPECT_EQ(s->LockCount, 1);
  EXPECT_FALSE(s->Lock());
  s->SetPixels(1, 1, 9);  // needs its own lock, which fails: nothing happens
  s->Unlock();
  EXPECT_EQ(s->LockCount, 0);
  EXPECT_EQ(s->Pixels(1, 1), 0u);
  s->Unlock();  // one too many is harmless
  EXPECT_EQ(s->LockCount, 0);
  delete s;
}

TEST_F(DirectDrawWrapperTest, WithoutAPlatformSurfaceNothingHappens) {
  auto* s = new TDirectDrawSurface(dd);
  EXPECT_EQ(s->Width(), 0);
  s->Fill(3);
  s->SetPixels(0, 0, 3);
  EXPECT_EQ(s->Pixels(0, 0), 0u);
  EXPECT_FALSE(s->Lock());
  s->Canvas().TextOut(0, 0, "nothing");
  EXPECT_FALSE(s->Canvas().HandleAllocated());
  EXPECT_THROW(s->ISurface4(), EDirectDrawSurfaceError);
  try {
    s->ISurface();
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_STREQ(e.what(), "IDirectDrawSurface not made");
  }
  s->MakeOffscreen(0, 5);
  EXPECT_FALSE(s->HasSurface());
  s->MakeOffscreen(3, 5);
  EXPECT_EQ(s->Width(), 3);
  delete s;
}

TEST_F(DirectDrawWrapperTest, CanvasKeepsItsStateAcrossRelease) {
  TDirectDrawSurface* s = Surface(200, 40);
  auto& c = s->Canvas();
  c.Brush.Style = bsClear;
  c.Font.Name = "Terminal";
  c.Font.Size = 14;
  c.Font.Color = clWhite;
  c.TextOut(0, 0, "0FPS");
  EXPECT_TRUE(c.HandleAllocated());
  EXPECT_FALSE(s->Lock());  // the context holds the surface
  c.Release();
  EXPECT_FALSE(c.HandleAllocated());
  EXPECT_EQ(c.Font.Name, "Terminal");
  EXPECT_EQ(c.Font.Size, 14);
  EXPECT_EQ(c.Brush.Style, bsClear);
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) ink += s->Pixels(x, y) == 255;
  EXPECT_GT(ink, 20);
  // The next call takes a new context and draws with the same settings.
  s->Fill(0);
  c.TextOut(0, 0, "0FPS");
  c.Release();
  int again = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) again += s->Pixels(x, y) == 255;
  EXPECT_EQ(again, ink);
  c.Pen.Color = clWhite;
  c.MoveTo(0, 30);
  c.LineTo(10, 30);
  c.Release();
  EXPECT_EQ(s->Pixels(9, 30), 255u);
  EXPECT_EQ(s->Pixels(10, 30), 0u);
  delete s;
}

TEST(DirectDrawWrapper, FreeingTheDisplayObjectFreesSurfacesThenPalettesThenClippers) {
  THeadlessBackend backend;
  SetBackend(&backend);
  static std::vector<std::string> order;
  order.clear();
  struct TSurface : TDirectDrawSurface {
    using TDirectDrawSurface::TDirectDrawSurface;
    ~TSurface() override { order.push_back("surface"); }
  };
  struct TPalette : TDirectDrawPalette {
    using TDirectDrawPalette::TDirectDrawPalette;
    ~TPalette() override { order.push_back("palette"); }
  };
  struct TClipper : TDirectDrawClipper {
    using TDirectDrawClipper::TDirectDrawClipper;
    ~TClipper() override { order.push_back("clipper"); }
  };
  auto* dd = new TDirectDraw();
  new TClipper(dd);
  new TPalette(dd);
  new TSurface(dd);
  new TClipper(dd);
  new TSurface(dd);
  EXPECT_EQ(dd->Surfaces.size(), 2u);
  delete dd;
  EXPECT_EQ(order, (std::vector<std::string>{"surface", "surface", "palette", "clipper", "clipper"}));
  SetBackend(nullptr);
}

TEST(DirectDrawWrapper, CreationFailuresHaveTheirTexts) {
  // A display library whose object lacks the second interface.
  struct TOld : IDirectDraw {
    HRESULT QueryInterface(const GUID&, void** o) override {
      *o = nullptr;
      return E_NOINTERFACE;
    }
    DWORD AddRef() override { return 1; }
    DWORD Release() override { return 0; }
    HRESULT CreateClipper(DWORD, IDirectDrawClipper**, IUnknown*) override { return E_FAIL; }
    HRESULT CreatePalette(DWORD, const PALETTEENTRY*, IDirectDrawPalette**, IUnknown*) override { return E_FAIL; }
    HRESULT CreateSurface(DDSURFACEDESC*, IDirectDrawSurface**, IUnknown*) override { return E_FAIL; }
    HRESULT EnumDisplayModes(DWORD, DDSURFACEDESC*, void*, LPDDENUMMODESCALLBACK) override { return E_FAIL; }
    HRESULT FlipToGDISurface() override { return E_FAIL; }
    HRESULT GetCaps(DDCAPS*, DDCAPS*) override { return E_FAIL; }
    HRESULT GetDisplayMode(DDSURFACEDESC*) override { return E_FAIL; }
    HRESULT RestoreDisplayMode() override { return E_FAIL; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return E_FAIL; }
    HRESULT SetDisplayMode(DWORD, DWORD, DWORD, DWORD, DWORD) override { return E_FAIL; }
    HRESULT WaitForVerticalBlank(DWORD, void*) override { return E_FAIL; }
  };
  static TOld old;
  auto oldCreate = +[](GUID*, IDirectDraw** d, IUnknown*) -> HRESULT {
    *d = &old;
    return DD_OK;
  };
  auto failingCreate = +[](GUID*, IDirectDraw** d, IUnknown*) -> HRESULT {
    *d = nullptr;
    return E_FAIL;
  };
  auto expectMessage = [](const char* text) {
    try {
      TDirectDraw dd;
      ADD_FAILURE() << "no error";
    } catch (const EDirectDrawError& e) {
      EXPECT_STREQ(e.what(), text);
    }
  };
  RegisterLibrary("DDraw.dll", {{"DirectDrawCreate", reinterpret_cast<FARPROC>(oldCreate)}});
  expectMessage("Necessary since DirectX 6");
  RegisterLibrary("DDraw.dll", {{"DirectDrawCreate", reinterpret_cast<FARPROC>(failingCreate)}});
  expectMessage("DirectDraw cannot be initialized");
  RegisterLibrary("DDraw.dll", {{"DirectDrawCreate", reinterpret_cast<FARPROC>(&DirectDrawCreate)},
                                {"DirectDrawEnumerateA", reinterpret_cast<FARPROC>(&DirectDrawEnumerateA)}});
}

}  // namespace
