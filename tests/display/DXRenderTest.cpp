// The rotated rasterizer and the clipping of copies: exact coverage, turning, guards, and a
// randomized check that nothing is read or written outside where it may be.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/DXRender.h"
#include "framework/AngleTable.h"

namespace {

constexpr std::uint8_t Key = 250;

// An 8-bit surface inside a larger block: Margin guard bytes on every side, filled with Guard.
struct TGuardedSurface {
  static constexpr int Margin = 24;
  int W, H;
  std::ptrdiff_t Pitch;
  std::vector<std::uint8_t> Block;
  std::uint8_t Guard;

  TGuardedSurface(int w, int h, std::uint8_t fill, std::uint8_t guard = 0xEE)
      : W(w), H(h), Pitch(w + 2 * Margin), Block(std::size_t(Pitch) * (h + 2 * Margin), guard), Guard(guard) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) at(x, y) = fill;
  }
  std::uint8_t& at(int x, int y) { return Block[std::size_t(y + Margin) * Pitch + x + Margin]; }
  TRenderSurface View() {
    TRenderSurface s;
    s.Bits = &at(0, 0);
    s.Pitch = Pitch;
    s.Width = W;
    s.Height = H;
    return s;
  }
  bool GuardsIntact() const {
    for (int y = 0; y < H + 2 * Margin; ++y)
      for (int x = 0; x < Pitch; ++x) {
        const bool inside = y >= Margin && y < H + Margin && x >= Margin && x < W + Margin;
        if (!inside && Block[std::size_t(y) * Pitch + x] != Guard) return false;
      }
    return true;
  }
};

// A picture whose pixel (c, r) is 1 + (c + 7 r) mod 200: never the key, never 0, never the guard.
TGuardedSurface Picture(int w, int h) {
  TGuardedSurface s(w, h, 0);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) s.at(c, r) = std::uint8_t(1 + (c + 7 * r) % 200);
  return s;
}

struct TBox {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1, Count = 0;
};

TBox DrawnBox(TGuardedSurface& d) {
  TBox b;
  for (int y = 0; y < d.H; ++y)
    for (int x = 0; x < d.W; ++x)
      if (d.at(x, y) != 0) {
        b.Left = std::min(b.Left, x), b.Right = std::max(b.Right, x);
        b.Top = std::min(b.Top, y), b.Bottom = std::max(b.Bottom, y);
        ++b.Count;
      }
  return b;
}

RECT Whole(const TGuardedSurface& s) { return {0, 0, s.W, s.H}; }

}  // namespace

TEST(RenderTurned, OddPictureUnturnedCoversItsBoxOneToOneAndLosesTheLastColumnAndRow) {
  TGuardedSurface frame(1024, 768, 0);
  TGuardedSurface ship = Picture(31, 31);
  RenderTurned(frame.View(), 512, 384, 31, 31, ship.View(), Whole(ship), 0.5, 0.5, true, Key, 0);
  const TBox b = DrawnBox(frame);
  EXPECT_EQ(b.Left, 497);
  EXPECT_EQ(b.Right, 526);
  EXPECT_EQ(b.Top, 369);
  EXPECT_EQ(b.Bottom, 398);
  EXPECT_EQ(b.Count, 30 * 30);
  for (int r = 0; r < 30; ++r)
    for (int c = 0; c < 30; ++c) ASSERT_EQ(frame.at(497 + c, 369 + r), ship.at(c, r)) << c << "," << r;
}

TEST(RenderTurned, EvenPictureUnturnedDrawsAllItsColumns) {
  TGuardedSurface frame(1024, 768, 0);
  TGuardedSurface p = Picture(32, 32);
  RenderTurned(frame.View(), 512, 384, 32, 32, p.View(), Whole(p), 0.5, 0.5, true, Key, 0);
  const TBox b = DrawnBox(frame);
  EXPECT_EQ(b.Left, 496);
  EXPECT_EQ(b.Right, 527);
  EXPECT_EQ(frame.at(496, 368), p.at(0, 0));
  EXPECT_EQ(frame.at(527, 399), p.at(31, 31));
}

TEST(RenderTurned, KeyedTexelsAreLeftOutOnlyWhenTransparent) {
  TGuardedSurface p = Picture(16, 16);
  p.at(3, 4) = Key;
  for (bool transparent : {true, false}) {
    TGuardedSurface frame(64, 64, 0);
    RenderTurned(frame.View(), 32, 32, 16, 16, p.View(), Whole(p), 0.5, 0.5, transparent, Key, 0);
    EXPECT_EQ(frame.at(24 + 3, 24 + 4), transparent ? 0 : Key);
    EXPECT_EQ(frame.at(24 + 2, 24 + 4), p.at(2, 4));
  }
}

TEST(RenderTurned, QuarterTurnIsClockwiseAndAnglesWrap) {
  // The top rows of the picture are marked; a quarter turn clockwise brings them to the right
  // side. (The edge the rows step away from is cut by the count rule, as the last column is
  // unturned, so the mark is two rows deep.)
  TGuardedSurface p(16, 16, 2);
  for (int c = 0; c < 16; ++c) p.at(c, 0) = p.at(c, 1) = 1;
  TGuardedSurface frame(64, 64, 0);
  RenderTurned(frame.View(), 32, 32, 16, 16, p.View(), Whole(p), 0.5, 0.5, true, Key, 64);
  const TBox b = DrawnBox(frame);
  int marks = 0;
  for (int y = b.Top; y <= b.Bottom; ++y) {
    marks += frame.at(b.Right, y) == 1;
    EXPECT_NE(frame.at(b.Left, y), 1);
  }
  EXPECT_GE(marks, 14);

  auto draw = [&](int angle) {
    TGuardedSurface f(64, 64, 0);
    TGuardedSurface q = Picture(20, 13);
    RenderTurned(f.View(), 30, 33, 20, 13, q.View(), Whole(q), 0.3, 0.6, true, Key, angle);
    return f.Block;
  };
  EXPECT_EQ(draw(256 + 37), draw(37));
  EXPECT_EQ(draw(-10), draw(246));
  EXPECT_NE(draw(37), draw(38));
}

TEST(RenderTurned, EmptySizesAndBadAreasDrawNothing) {
  TGuardedSurface p = Picture(8, 8);
  auto drawn = [&](int w, int h, RECT area, int alpha = 255) {
    TGuardedSurface frame(32, 32, 0);
    RenderTurned(frame.View(), 16, 16, w, h, p.View(), area, 0.5, 0.5, true, Key, 10, alpha);
    return DrawnBox(frame).Count;
  };
  EXPECT_GT(drawn(8, 8, Whole(p)), 0);
  EXPECT_EQ(drawn(0, 8, Whole(p)), 0);
  EXPECT_EQ(drawn(8, 0, Whole(p)), 0);
  EXPECT_EQ(drawn(8, 8, RECT{-1, 0, 8, 8}), 0);
  EXPECT_EQ(drawn(8, 8, RECT{0, 0, 9, 8}), 0);
  EXPECT_EQ(drawn(8, 8, RECT{4, 0, 4, 8}), 0);
  EXPECT_EQ(drawn(8, 8, Whole(p), 0), 0);
  EXPECT_EQ(drawn(8, 8, Whole(p), -5), 0);
}

TEST(RenderTurned, NegativePivotHangsThePictureBelowItsAnchor) {
  TGuardedSurface p = Picture(15, 19);
  TGuardedSurface frame(64, 64, 0);
  RenderTurned(frame.View(), 32, 20, 15, 19, p.View(), Whole(p), 0.5, -0.5, true, Key, 0);
  // The box starts at Y + Trunc(0 - 19 * -0.5) = Y + 9, where the rows start half a texel above
  // the picture: that row has nothing to show, and the picture's top row follows at Y + 10.
  const TBox b = DrawnBox(frame);
  EXPECT_EQ(b.Top, 20 + 10);
  EXPECT_EQ(b.Bottom, 20 + 27);
  for (int x = b.Left; x <= b.Right; ++x) EXPECT_EQ(frame.at(x, b.Top), p.at(x - 25, 0)) << x;
}

// The flame (15 x 19, hung below the ship at PivotY -0.5) turned a quarter and three quarters.
// There the cosine is the angle table's tiny entry, negative at 64 and positive at 192, and its
// sign decides which way the corners' y (a whole number plus or minus a tiny) truncate: the box
// ends above row 390 at 64 and takes it in at 192. A cosine table of its own, with the other signs,
// drew an extra row at 64 and lost one at 192.
struct TFlameCase {
  int Angle;
  TBox Expected;
};

class RenderTurnedFlame : public testing::TestWithParam<TFlameCase> {};

TEST_P(RenderTurnedFlame, QuarterTurnsFollowTheAngleTablesSigns) {
  TGuardedSurface flame = Picture(15, 19);
  TGuardedSurface frame(1024, 768, 0);
  RenderTurned(frame.View(), 512, 384, 15, 19, flame.View(), Whole(flame), 0.5, -0.5, true, Key, GetParam().Angle);
  const TBox b = DrawnBox(frame), e = GetParam().Expected;
  EXPECT_EQ(b.Left, e.Left);
  EXPECT_EQ(b.Right, e.Right);
  EXPECT_EQ(b.Top, e.Top);
  EXPECT_EQ(b.Bottom, e.Bottom);
  EXPECT_EQ(b.Count, e.Count);
  EXPECT_TRUE(frame.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Headings, RenderTurnedFlame,
                         testing::Values(TFlameCase{64, {484, 377, 501, 389, 18 * 13}},
                                         TFlameCase{192, {522, 378, 539, 390, 18 * 13}}));

TEST(RenderTurned, SharesTheAngleTable) { EXPECT_EQ(TurnCosines, AngleCosines); }

TEST(RenderTurned, BlendedOnAnIndexedSurfaceDrawsLikeACopy) {
  TGuardedSurface p = Picture(24, 17);
  p.at(5, 5) = Key;
  TGuardedSurface reference(64, 64, 0);
  RenderTurned(reference.View(), 30, 30, 24, 17, p.View(), Whole(p), 0.5, 0.5, true, Key, 21);
  for (int alpha : {1, 128, 254, 255, 300}) {
    TGuardedSurface f(64, 64, 0);
    RenderTurned(f.View(), 30, 30, 24, 17, p.View(), Whole(p), 0.5, 0.5, true, Key, 21, alpha);
    EXPECT_EQ(f.Block, reference.Block) << alpha;
  }
}

TEST(RenderTurned, BlendedOnDirectColourMixesByAlpha) {
  std::vector<std::uint32_t> dst(4 * 4, 0x00204060), src(2 * 2, 0x00A0C0E0);
  src[1] = 0x00FF00FF;
  TRenderSurface d{reinterpret_cast<std::uint8_t*>(dst.data()), 16, 4, 4, 32, false, 0xFF0000, 0xFF00, 0xFF, 0};
  TRenderSurface s{reinterpret_cast<std::uint8_t*>(src.data()), 8, 2, 2, 32, false, 0xFF0000, 0xFF00, 0xFF, 0};
  RenderTurned(d, 1, 1, 2, 2, s, RECT{0, 0, 2, 2}, 0.5, 0.5, true, 0x00FF00FF, 0, 128);
  // The picture covers x 0..1, y 0..1. Alpha 128 of 255 per channel, rounded.
  EXPECT_EQ(dst[0], 0x006080A0u);
  EXPECT_EQ(dst[4], 0x006080A0u);
  EXPECT_EQ(dst[1], 0x00204060u);  // the keyed texel leaves the destination alone
  EXPECT_EQ(dst[2], 0x00204060u);  // outside the picture
}

TEST(RenderTurned, RandomDrawsStayInsideBothSurfaces) {
  std::mt19937 rng(1234);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  constexpr std::uint8_t Outside = 251;  // fills the source around its rectangle: must never appear
  for (int i = 0; i < 4000; ++i) {
    TGuardedSurface dest(in(1, 90), in(1, 90), 0);
    TGuardedSurface src(in(1, 48), in(1, 48), Outside, 0xDD);
    RECT area{in(0, src.W - 1), in(0, src.H - 1), 0, 0};
    area.right = in(area.left + 1, src.W);
    area.bottom = in(area.top + 1, src.H);
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) src.at(x, y) = std::uint8_t(in(0, 3) ? in(1, 200) : Key);
    const int w = in(-40, 160), h = in(-40, 160);
    const int x = in(-120, dest.W + 120), y = in(-120, dest.H + 120);
    const double px = in(0, 4) ? real(-1.5, 2.5) : 0.5, py = in(0, 4) ? real(-1.5, 2.5) : 0.5;
    const int angle = in(0, 3) ? in(-700, 700) : 64 * in(-4, 4);
    RenderTurned(dest.View(), x, y, w, h, src.View(), area, px, py, in(0, 1) == 1, Key, angle, in(-3, 300));
    ASSERT_TRUE(dest.GuardsIntact()) << "draw " << i;
    for (int yy = 0; yy < dest.H; ++yy)
      for (int xx = 0; xx < dest.W; ++xx) ASSERT_NE(dest.at(xx, yy), Outside) << "draw " << i;
  }
}

TEST(ClipCopyRects, CutsAtTheDestinationEdges) {
  // A 475-wide picture at x = -100 shows its columns 100..474 at x 0..374.
  RECT D{-100, 700, 375, 860}, S{0, 0, 475, 160};
  ASSERT_TRUE(ClipCopyRects(D, S, 1024, 768, 475, 160));
  EXPECT_EQ(D.left, 0);
  EXPECT_EQ(S.left, 100);
  EXPECT_EQ(D.right, 375);
  EXPECT_EQ(S.right, 475);
  EXPECT_EQ(D.bottom, 768);
  EXPECT_EQ(S.bottom, 68);
  // A source rectangle reaching outside its surface moves the destination with it.
  RECT D1{10, 10, 40, 40}, S1{-5, 0, 25, 30};
  ASSERT_TRUE(ClipCopyRects(D1, S1, 1024, 768, 20, 30));
  EXPECT_EQ(D1.left, 15);
  EXPECT_EQ(D1.right, 35);
  EXPECT_EQ(S1.left, 0);
  EXPECT_EQ(S1.right, 20);
  RECT D2{1024, 0, 1024 + 31, 31}, S2{0, 0, 31, 31};
  EXPECT_FALSE(ClipCopyRects(D2, S2, 1024, 768, 31, 31));
  RECT D3{-2000000000, -2000000000, -1999999969, -1999999969}, S3{0, 0, 31, 31};
  EXPECT_FALSE(ClipCopyRects(D3, S3, 1024, 768, 31, 31));
}
