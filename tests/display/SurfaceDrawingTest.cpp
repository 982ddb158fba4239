// Picture drawing on surfaces: clipped keyed copies, mirrors, scaled and turned copies, keys.
#include <gtest/gtest.h>

#include <cstring>

#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "platform/Gdi.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

constexpr DWORD Key = 250;

class SurfaceDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    dd = new TDirectDraw();
    dd->IDraw4()->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    frame = Surface(1024, 768);
    frame->Fill(0);
  }
  void TearDown() override {
    delete dd;
    SetBackend(nullptr);
  }
  TDirectDrawSurface* Surface(int w, int h) {
    auto* s = new TDirectDrawSurface(dd);
    DDSURFACEDESC d;
    std::memset(&d, 0, sizeof d);
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    d.dwWidth = DWORD(w);
    d.dwHeight = DWORD(h);
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    d.ddpfPixelFormat.dwRGBBitCount = 8;
    EXPECT_TRUE(s->CreateSurface(d));
    return s;
  }
  // A picture surface whose pixel (x, y) is 1 + (x + 3 y) % 200, with its key set to Key and
  // every pixel in column 0 keyed.
  TDirectDrawSurface* Picture(int w, int h) {
    TDirectDrawSurface* s = Surface(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) s->SetPixels(x, y, x == 0 ? Key : 1 + (x + 3 * y) % 200);
    s->SetTransparentKey(Key);
    return s;
  }
  static DWORD At(int x, int y) { return DWORD(1 + (x + 3 * y) % 200); }

  THeadlessBackend backend;
  TDirectDraw* dd = nullptr;
  TDirectDrawSurface* frame = nullptr;
};

}  // namespace

TEST_F(SurfaceDrawingTest, KeyedCopyLeavesTheKeyOutOnlyWhenTransparent) {
  TDirectDrawSurface* p = Picture(31, 31);
  frame->Draw(100, 100, RECT{0, 0, 31, 31}, p, true);
  EXPECT_EQ(frame->Pixels(100, 105), 0u);
  EXPECT_EQ(frame->Pixels(101, 105), At(1, 5));
  frame->Draw(100, 100, RECT{0, 0, 31, 31}, p, false);
  EXPECT_EQ(frame->Pixels(100, 105), Key);
}

TEST_F(SurfaceDrawingTest, CopiesAreCutAtTheFrameEdges) {
  TDirectDrawSurface* panel = Picture(475, 160);
  // At x = -100 the columns 100..474 land at x = 0..374.
  frame->Draw(-100, 0, RECT{0, 0, 475, 160}, panel, true);
  EXPECT_EQ(frame->Pixels(0, 3), At(100, 3));
  EXPECT_EQ(frame->Pixels(374, 3), At(474, 3));
  EXPECT_EQ(frame->Pixels(375, 3), 0u);
  // At x = 1024 (the frame's width) and beyond nothing is drawn; the bottom edge cuts.
  frame->Fill(0);
  frame->Draw(1024, 0, RECT{0, 0, 475, 160}, panel, true);
  frame->Draw(1025, 0, RECT{0, 0, 475, 160}, panel, true);
  EXPECT_EQ(frame->Pixels(1023, 3), 0u);
  frame->Draw(900, 700, RECT{0, 0, 475, 160}, panel, true);
  EXPECT_EQ(frame->Pixels(1023, 767), At(123, 67));
  frame->Draw(10, 10, RECT{0, 0, 475, 160}, nullptr, true);  // no source: nothing, no crash
}

TEST_F(SurfaceDrawingTest, AReversedSourceAreaMirrors) {
  TDirectDrawSurface* p = Picture(31, 31);
  frame->Draw(10, 10, RECT{31, 0, 0, 31}, p, true);
  EXPECT_EQ(frame->Pixels(10, 15), At(30, 5));  // left to right: column 30 comes first
  EXPECT_EQ(frame->Pixels(40, 15), 0u);         // and the keyed column 0 comes last
  frame->Fill(0);
  frame->Draw(10, 10, RECT{0, 31, 31, 0}, p, true);
  EXPECT_EQ(frame->Pixels(11, 10 + 25), At(1, 5));  // upside down: row 5 lands on row 25
  frame->Fill(0);
  frame->Draw(-31, 10, RECT{31, 0, 0, 31}, p, true);  // wholly off the left edge
  EXPECT_EQ(frame->Pixels(0, 15), 0u);
}

TEST_F(SurfaceDrawingTest, ScaledCopyStretchesThroughATemporaryClipper) {
  TDirectDrawSurface* p = Picture(31, 31);
  frame->DrawScaled(RECT{1000, 10, 1062, 72}, RECT{0, 0, 31, 31}, p, true);  // crossing the edge
  EXPECT_EQ(frame->Pixels(1000 + 10, 10 + 10), At(5, 5));
  EXPECT_EQ(frame->Pixels(1000, 10), 0u);  // keyed column 0
  EXPECT_FALSE(frame->HasClipper);
  EXPECT_NE(frame->StretchDrawClipper, nullptr);  // kept for the next scaled copy
  frame->DrawScaled(RECT{0, 0, 0, 10}, RECT{0, 0, 31, 31}, p, true);  // empty target: nothing
}

TEST_F(SurfaceDrawingTest, TurnedDrawCoversTheBoxOfTheRasterizer) {
  TDirectDrawSurface* ship = Picture(31, 31);
  frame->DrawTurned(512, 384, 31, 31, RECT{0, 0, 31, 31}, ship, 0.5, 0.5, true, 0);
  EXPECT_EQ(frame->Pixels(497, 369), 0u);  // column 0 is keyed
  EXPECT_EQ(frame->Pixels(498, 369), At(1, 0));
  EXPECT_EQ(frame->Pixels(526, 398), At(29, 29));
  EXPECT_EQ(frame->Pixels(527, 399), 0u);
  EXPECT_EQ(frame->LockCount, 0);  // both surfaces unlocked again
  EXPECT_EQ(ship->LockCount, 0);
  frame->Fill(0);
  frame->DrawTurnedBlended(512, 384, 31, 31, RECT{0, 0, 31, 31}, ship, 0.5, 0.5, true, 0, 0);
  EXPECT_EQ(frame->Pixels(498, 369), 0u);
  frame->DrawTurnedBlended(512, 384, 31, 31, RECT{0, 0, 31, 31}, ship, 0.5, 0.5, true, 0, 1);
  EXPECT_EQ(frame->Pixels(498, 369), At(1, 0));
  // A locked destination draws nothing.
  frame->Fill(0);
  ASSERT_TRUE(frame->Lock());
  frame->DrawTurned(512, 384, 31, 31, RECT{0, 0, 31, 31}, ship, 0.5, 0.5, true, 0);
  frame->Unlock();
  EXPECT_EQ(frame->Pixels(498, 369), 0u);
}

TEST_F(SurfaceDrawingTest, NearestPixelValueProbesAndPutsThePixelBack) {
  TDirectDrawSurface* p = Picture(4, 4);
  p->SetPixels(0, 0, 77);
  const DWORD fuchsia = p->NearestPixelValue(0xFF00FF);
  EXPECT_EQ(fuchsia, DWORD(NearestColorIndex(SystemPalette().data(), 256, 255, 0, 255)));
  EXPECT_EQ(p->Pixels(0, 0), 77u);
  p->SetTransparentKey(fuchsia);
  DDCOLORKEY key{};
  ASSERT_EQ(p->ISurface4()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, fuchsia);
  EXPECT_EQ(key.dwColorSpaceHighValue, fuchsia);
}
