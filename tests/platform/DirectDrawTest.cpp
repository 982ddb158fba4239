// The software display objects: surfaces, blits, flip and presentation, loss and restore, modes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "media/BlitKernels.h"
#include "platform/DirectDraw.h"
#include "platform/Gdi.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

HWND FakeWindow() { return reinterpret_cast<HWND>(std::uintptr_t(0x1000)); }

DDSURFACEDESC Desc() {
  DDSURFACEDESC d;
  std::memset(&d, 0, sizeof d);
  d.dwSize = sizeof d;
  return d;
}

// A display object at the normal level with helpers for off-screen surfaces and pixel access.
class DirectDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
  }
  void TearDown() override {
    if (dd) dd->Release();
    SetBackend(nullptr);
  }
  void Exclusive() {
    ASSERT_EQ(dd->SetCooperativeLevel(FakeWindow(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX), DD_OK);
  }
  IDirectDrawSurface* Offscreen(int w, int h, DWORD caps = DDSCAPS_OFFSCREENPLAIN, DWORD bits = 0) {
    DDSURFACEDESC d = Desc();
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    d.dwWidth = DWORD(w);
    d.dwHeight = DWORD(h);
    d.ddsCaps.dwCaps = caps;
    if (bits) {
      d.dwFlags |= DDSD_PIXELFORMAT;
      d.ddpfPixelFormat.dwRGBBitCount = bits;
    }
    IDirectDrawSurface* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DD_OK);
    return s;
  }
  // The visible surface and its back buffer at 1024x768x8; call at the exclusive level.
  void FlipChain(IDirectDrawSurface*& primary, IDirectDrawSurface*& back) {
    ASSERT_EQ(dd->SetDisplayMode(1024, 768, 8), DD_OK);
    DDSURFACEDESC d = Desc();
    d.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    d.dwBackBufferCount = 1;
    d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(dd->CreateSurface(&d, &primary, nullptr), DD_OK);
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
  }
  static std::uint8_t At(IDirectDrawSurface* s, int x, int y) {
    DDSURFACEDESC d = Desc();
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    std::uint8_t v = static_cast<std::uint8_t*>(d.lpSurface)[y * d.lPitch + x];
    s->Unlock(d.lpSurface);
    return v;
  }
  static void Put(IDirectDrawSurface* s, int x, int y, std::uint8_t v) {
    DDSURFACEDESC d = Desc();
    ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    static_cast<std::uint8_t*>(d.lpSurface)[y * d.lPitch + x] = v;
    s->Unlock(d.lpSurface);
  }

  THeadlessBackend backend;
  IDirectDraw* dd = nullptr;
};

TEST_F(DirectDrawTest, CreatesSurfacesOnlyWithACooperativeLevelAndAValidDescription) {
  DDSURFACEDESC d = Desc();
  d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  d.dwWidth = d.dwHeight = 4;
  d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* s = nullptr;
  EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_NOCOOPERATIVELEVELSET);
  ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  d.dwWidth = 0;
  EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
  d.dwWidth = 4;
  d.dwSize = 100;
  EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(s, nullptr);
  // Exclusive mode needs a window, and full screen goes with exclusive.
  EXPECT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->SetCooperativeLevel(FakeWindow(), DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, DescribesSurfacesAndTheirMemory) {
  ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  IDirectDrawSurface* video = Offscreen(33, 7);
  IDirectDrawSurface* system = Offscreen(5, 5, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 32);
  DDSURFACEDESC d = Desc();
  ASSERT_EQ(video->GetSurfaceDesc(&d), DD_OK);
  EXPECT_EQ(d.dwWidth, 33u);
  EXPECT_EQ(d.dwHeight, 7u);
  EXPECT_GE(d.lPitch, 33);
  EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 8u);
  EXPECT_TRUE(d.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8);
  EXPECT_TRUE(d.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY);
  ASSERT_EQ(system->GetSurfaceDesc(&d), DD_OK);
  EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 32u);
  EXPECT_EQ(d.ddpfPixelFormat.dwRBitMask, 0xFF0000u);
  EXPECT_TRUE(d.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  EXPECT_FALSE(d.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY);
  video->Release();
  system->Release();
}

TEST_F(DirectDrawTest, LockIsOneDeepAndBlocksBlitsAndContexts) {
  ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  IDirectDrawSurface* s = Offscreen(8, 8);
  DDSURFACEDESC d = Desc(), d2 = Desc();
  ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(s->Lock(nullptr, &d2, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  EXPECT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DDERR_SURFACEBUSY);
  HDC dc = nullptr;
  EXPECT_EQ(s->GetDC(&dc), DDERR_SURFACEBUSY);
  EXPECT_EQ(s->Unlock(d.lpSurface), DD_OK);
  EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
  ASSERT_EQ(s->GetDC(&dc), DD_OK);
  HDC again = nullptr;
  EXPECT_EQ(s->GetDC(&again), DDERR_DCALREADYCREATED);
  EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(s->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(s->ReleaseDC(dc), DDERR_NODC);
  s->Release();
}

TEST_F(DirectDrawTest, FillsKeyedCopiesAndBltFastBounds) {
  ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  IDirectDrawSurface* dst = Offscreen(10, 10);
  IDirectDrawSurface* src = Offscreen(3, 3);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 7;
  ASSERT_EQ(dst->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  fx.dwFillColor = 5;
  RECT part{1, 1, 3, 2};
  ASSERT_EQ(src->Blt(&part, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  // Source is 0 except (1,1) and (2,1), which are 5; key 0 leaves the zeros out.
  EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DDERR_NOCOLORKEY);
  DDCOLORKEY key{0, 0};
  ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  ASSERT_EQ(dst->BltFast(4, 4, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(At(dst, 4, 4), 7);
  EXPECT_EQ(At(dst, 5, 5), 5);
  EXPECT_EQ(At(dst, 6, 5), 5);
  EXPECT_EQ(At(dst, 6, 6), 7);
  ASSERT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(At(dst, 0, 0), 0);
  // BltFast does not clip: a copy reaching past the edge is refused, not cut.
  EXPECT_EQ(dst->BltFast(8, 0, src, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  // With a clipper attached BltFast cannot work at all.
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(dst->SetClipper(clipper), DD_OK);
  EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DDERR_BLTFASTCANTCLIP);
  ASSERT_EQ(dst->SetClipper(nullptr), DD_OK);
  clipper->Release();
  src->Release();
  dst->Release();
}

TEST_F(DirectDrawTest, ScaledMirroredCopiesClipToTheClipList) {
  ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
  IDirectDrawSurface* dst = Offscreen(8, 8);
  IDirectDrawSurface* src = Offscreen(2, 1);
  Put(src, 0, 0, 1);
  Put(src, 1, 0, 2);
  RECT target{-2, 0, 6, 2};  // twice as wide, twice as high, partly off the surface
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  EXPECT_EQ(dst->Blt(&target, src, nullptr, DDBLT_WAIT, &fx), DDERR_INVALIDRECT);  // no clipper
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
  struct {
    RGNDATAHEADER rdh;
    RECT rect;
  } region{{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), {0, 0, 8, 8}}, {0, 0, 8, 8}};
  ASSERT_EQ(clipper->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0), DD_OK);
  ASSERT_EQ(dst->SetClipper(clipper), DD_OK);
  ASSERT_EQ(dst->Blt(&target, src, nullptr, DDBLT_WAIT, &fx), DD_OK);
  // Columns -2..1 show source 0, columns 2..5 source 1; rows 0 and 1 both.
  EXPECT_EQ(At(dst, 0, 0), 1);
  EXPECT_EQ(At(dst, 1, 1), 1);
  EXPECT_EQ(At(dst, 2, 0), 2);
  EXPECT_EQ(At(dst, 5, 1), 2);
  EXPECT_EQ(At(dst, 6, 0), 0);
  EXPECT_EQ(At(dst, 0, 2), 0);
  fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
  RECT same{0, 4, 2, 5};
  ASSERT_EQ(dst->Blt(&same, src, nullptr, DDBLT_WAIT | DDBLT_DDFX, &fx), DD_OK);
  EXPECT_EQ(At(dst, 0, 4), 2);
  EXPECT_EQ(At(dst, 1, 4), 1);
  dst->SetClipper(nullptr);
  clipper->Release();
  src->Release();
  dst->Release();
}

TEST_F(DirectDrawTest, FlipPresentsTheBackBufferThroughThePalette) {
  Exclusive();
  IDirectDrawSurface *primary = nullptr, *back = nullptr;
  FlipChain(primary, back);
  ASSERT_TRUE(primary && back);
  PALETTEENTRY entries[256] = {};
  entries[9] = {0x12, 0x34, 0x56, 0};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);
  Put(back, 3, 2, 9);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(backend.PresentCount, 1);
  ASSERT_EQ(backend.FrameWidth, 1024);
  EXPECT_EQ(backend.Frame[2 * 1024 + 3], 9);
  EXPECT_EQ(backend.FramePalette[9], 0x123456u);
  EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);

  // Switching away loses the video memory; nothing presents until it is restored.
  DirectDrawActivateApp(false);
  EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(primary->Restore(), DDERR_WRONGMODE);  // not while another program has the screen
  DirectDrawActivateApp(true);
  EXPECT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(back->IsLost(), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(backend.PresentCount, 2);
  back->Release();
  palette->Release();
  primary->Release();
}

// A keyed copy of a wide picture goes by the opaque runs the surface keeps for it. Whatever
// changes the picture's pixels or key must make the next copy show the change.
class KeyedCopyTest : public DirectDrawTest {
 protected:
  static constexpr int W = 64, H = 4;
  void SetUp() override {
    DirectDrawTest::SetUp();
    Exclusive();
    src = Offscreen(W, H);
    dst = Offscreen(W, H);
    Fill(src, RECT{4, 0, 60, H}, 5);  // an opaque body on key 0
    SetKey(0);
  }
  void TearDown() override {
    src->Release();
    dst->Release();
    DirectDrawTest::TearDown();
  }
  void Fill(IDirectDrawSurface* s, RECT r, DWORD value) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = value;
    ASSERT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  }
  void SetKey(DWORD value) {
    DDCOLORKEY key{value, value};
    ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  }
  void Copy(IDirectDrawSurface* from) {
    Fill(dst, RECT{0, 0, W, H}, 7);
    ASSERT_EQ(dst->BltFast(0, 0, from, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  }
  // Copies enough times for the runs to be found, so that a change after this meets them.
  void Warm(IDirectDrawSurface* from) {
    for (int i = 0; i < 3; ++i) Copy(from);
  }
  static std::vector<std::uint8_t> Pixels(IDirectDrawSurface* s) {
    DDSURFACEDESC d = Desc();
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    std::vector<std::uint8_t> v(std::size_t(d.dwWidth) * d.dwHeight);
    for (DWORD y = 0; y < d.dwHeight; ++y)
      std::memcpy(&v[y * d.dwWidth], static_cast<std::uint8_t*>(d.lpSurface) + y * d.lPitch, d.dwWidth);
    s->Unlock(d.lpSurface);
    return v;
  }
  // One copy, compared with what the plain loop makes of the picture as it is now.
  void ExpectCopyShowsThePicture(IDirectDrawSurface* from, const char* after) {
    Copy(from);
    DDCOLORKEY key{};
    ASSERT_EQ(from->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    std::vector<std::uint8_t> expected(std::size_t(W) * H, 7);
    const std::vector<std::uint8_t> picture = Pixels(from);
    CopyPixelsKeyed8Reference(picture.data(), W, expected.data(), W, W, H, std::uint8_t(key.dwColorSpaceLowValue));
    EXPECT_EQ(Pixels(dst), expected) << "after " << after;
  }
  IDirectDrawSurface* src = nullptr;
  IDirectDrawSurface* dst = nullptr;
};

TEST_F(KeyedCopyTest, FollowsEveryChangeOfThePictureAndItsKey) {
  Warm(src);
  ExpectCopyShowsThePicture(src, "the first copies");

  Warm(src);
  Put(src, 10, 1, 0);  // a hole through a lock
  ExpectCopyShowsThePicture(src, "a write through a lock");

  Warm(src);
  Fill(src, RECT{20, 0, 30, 2}, 0);
  ExpectCopyShowsThePicture(src, "a colour fill");

  IDirectDrawSurface* patch = Offscreen(8, 2);
  Fill(patch, RECT{0, 0, 8, 2}, 9);
  Warm(src);
  ASSERT_EQ(src->BltFast(0, 2, patch, nullptr, DDBLTFAST_WAIT), DD_OK);
  ExpectCopyShowsThePicture(src, "a copy into it");
  Warm(src);
  RECT wide{40, 0, 64, 4};
  ASSERT_EQ(src->Blt(&wide, patch, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  ExpectCopyShowsThePicture(src, "a scaled copy into it");
  patch->Release();

  Warm(src);
  SetKey(5);
  ExpectCopyShowsThePicture(src, "a new key");
  Warm(src);
  ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, nullptr), DD_OK);
  EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DDERR_NOCOLORKEY);
  SetKey(0);

  Warm(src);
  HDC dc = nullptr;
  ASSERT_EQ(src->GetDC(&dc), DD_OK);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));  // black is entry 0: the key
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, 3, nullptr);
  LineTo(dc, W, 3);
  SelectObject(dc, old);
  DeleteObject(pen);
  ASSERT_EQ(src->ReleaseDC(dc), DD_OK);
  ExpectCopyShowsThePicture(src, "drawing through a device context");

  Warm(src);
  DirectDrawActivateApp(false);
  DirectDrawActivateApp(true);
  ASSERT_EQ(src->Restore(), DD_OK);  // all key now
  ASSERT_EQ(dst->Restore(), DD_OK);
  ExpectCopyShowsThePicture(src, "a restore");
}

TEST_F(KeyedCopyTest, GoesByTheRunsFoundBefore) {
  // Proof that the copies above meet kept runs: a write behind the surface's back, through a
  // pointer kept past its Unlock, is not seen, while one through a lock is.
  Warm(src);
  DDSURFACEDESC d = Desc();
  ASSERT_EQ(src->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
  auto* pixels = static_cast<std::uint8_t*>(d.lpSurface);
  src->Unlock(pixels);
  Warm(src);
  pixels[62] = 6;  // in the keyed surround, row 0
  Copy(src);
  EXPECT_EQ(At(dst, 62, 0), 7);
  Put(src, 62, 0, 6);
  Copy(src);
  EXPECT_EQ(At(dst, 62, 0), 6);
}

TEST_F(KeyedCopyTest, FollowsAFlipOfTheBackBuffer) {
  IDirectDrawSurface *primary = nullptr, *back = nullptr;
  FlipChain(primary, back);
  ASSERT_TRUE(primary && back);
  DDCOLORKEY key{0, 0};
  ASSERT_EQ(back->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  ASSERT_EQ(primary->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  Fill(back, RECT{0, 0, W, H}, 3);
  auto copyCorner = [&](IDirectDrawSurface* from) {
    Fill(dst, RECT{0, 0, W, H}, 7);
    RECT corner{0, 0, W, H};
    ASSERT_EQ(dst->BltFast(0, 0, from, &corner, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  };
  for (int i = 0; i < 3; ++i) copyCorner(back);
  EXPECT_EQ(At(dst, 30, 2), 3);
  for (int i = 0; i < 3; ++i) copyCorner(primary);
  EXPECT_EQ(At(dst, 30, 2), 7);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  copyCorner(back);  // the old front: all key
  EXPECT_EQ(At(dst, 30, 2), 7);
  copyCorner(primary);
  EXPECT_EQ(At(dst, 30, 2), 3);
  back->Release();
  primary->Release();
}

TEST_F(DirectDrawTest, DisplayModesComeFromTheEmulatedList) {
  std::vector<DDSURFACEDESC> seen;
  dd->EnumDisplayModes(0, nullptr, &seen, [](DDSURFACEDESC* m, void* c) -> HRESULT {
    static_cast<std::vector<DDSURFACEDESC>*>(c)->push_back(*m);
    return DDENUMRET_OK;
  });
  ASSERT_EQ(seen.size(), 28u);
  EXPECT_EQ(seen.front().dwWidth, 640u);
  EXPECT_EQ(seen.back().dwWidth, 1600u);
  EXPECT_EQ(seen.back().ddpfPixelFormat.dwRGBBitCount, 32u);
  EXPECT_EQ(dd->SetDisplayMode(1024, 768, 8), DDERR_NOEXCLUSIVEMODE);
  Exclusive();
  EXPECT_EQ(dd->SetDisplayMode(1000, 700, 8), DDERR_INVALIDMODE);
  EXPECT_EQ(dd->SetDisplayMode(800, 600, 16), DD_OK);
  EXPECT_EQ(CurrentDisplayMode().Width, 800u);
  dd->Release();
  dd = nullptr;
  EXPECT_EQ(CurrentDisplayMode().Width, 1024u);  // the desktop's mode comes back
  EXPECT_EQ(CurrentDisplayMode().BitCount, 8u);
}

TEST(BlitKernels, KeyedCopyAgreesWithThePlainLoop) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    int w = int(random() % 70) + 1, h = int(random() % 5) + 1;
    std::vector<std::uint8_t> src(std::size_t(w * h)), a(std::size_t(w * h)), b;
    for (auto& v : src) v = std::uint8_t(random() % 4);
    for (auto& v : a) v = std::uint8_t(random());
    b = a;
    CopyPixelsKeyed8(src.data(), w, a.data(), w, w, h, 2);
    CopyPixelsKeyed8Reference(src.data(), w, b.data(), w, w, h, 2);
    ASSERT_EQ(a, b);
  }
}

}  // namespace
