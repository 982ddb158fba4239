// The software graphics interface: text, lines, copies with colour matching, the system palette.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/Gdi.h"

namespace {

// An 8-bit target of its own over the system palette.
struct TCanvasMemory {
  static constexpr int W = 40, H = 30;
  std::vector<std::uint8_t> Pixels = std::vector<std::uint8_t>(W * H, 0);
  HDC Dc;
  TCanvasMemory() {
    TPixelTarget t;
    t.Pixels = Pixels.data();
    t.Pitch = W;
    t.Width = W;
    t.Height = H;
    t.BitCount = 8;
    t.Colors = SystemPalette();
    Dc = CreateTargetDC(t);
  }
  ~TCanvasMemory() { DestroyTargetDC(Dc); }
  std::uint8_t At(int x, int y) const { return Pixels[std::size_t(y * W + x)]; }
  int Count(std::uint8_t v) const {
    int n = 0;
    for (auto p : Pixels) n += p == v;
    return n;
  }
};

TEST(SystemPalette, HasTheStaticColoursAtBothEnds) {
  const auto& p = SystemPalette();
  EXPECT_EQ(p[0].peRed + p[0].peGreen + p[0].peBlue, 0);
  EXPECT_EQ(p[255].peRed & p[255].peGreen & p[255].peBlue, 255);
  EXPECT_EQ(p[249].peRed, 255);  // pure red
  EXPECT_EQ(p[249].peGreen, 0);
  EXPECT_EQ(p[7].peRed, 0xC0);
  HDC screen = GetDC(nullptr);
  PALETTEENTRY e[256];
  EXPECT_EQ(GetSystemPaletteEntries(screen, 0, 256, e), 256u);
  EXPECT_EQ(std::memcmp(e, p.data(), sizeof e), 0);
  EXPECT_EQ(GetSystemPaletteEntries(screen, 250, 10, e), 6u);  // cut at the end
  EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, RC_PALETTE);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(SystemPalette, NearestColourTiesGoToTheLowestIndex) {
  PALETTEENTRY colors[3] = {{10, 0, 0, 0}, {0, 0, 0, 0}, {20, 0, 0, 0}};
  EXPECT_EQ(NearestColorIndex(colors, 3, 15, 0, 0), 0);  // 0 and 2 are both 5 away
  EXPECT_EQ(NearestColorIndex(colors, 3, 1, 0, 0), 1);
  EXPECT_EQ(NearestColorIndex(SystemPalette().data(), 256, 255, 255, 255), 255);
}

TEST(Gdi, TextIsDrawnInTheNearestColourWithoutBackground) {
  TCanvasMemory m;
  std::fill(m.Pixels.begin(), m.Pixels.end(), 3);
  LOGFONTA log{};
  log.lfHeight = -19;
  std::strcpy(log.lfFaceName, "Terminal");
  HFONT font = CreateFontIndirectA(&log);
  HGDIOBJ old = SelectObject(m.Dc, font);
  SetBkMode(m.Dc, TRANSPARENT);
  SetTextColor(m.Dc, RGB(250, 250, 250));
  ASSERT_TRUE(TextOutA(m.Dc, 0, 0, "0", 1));
  int ink = m.Count(255);
  EXPECT_GT(ink, 10);
  EXPECT_EQ(ink + m.Count(3), TCanvasMemory::W * TCanvasMemory::H);  // nothing else touched
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32A(m.Dc, "00", 2, &size));
  EXPECT_EQ(size.cx, 20);  // fixed pitch, 10 pixels a character at this size
  EXPECT_EQ(size.cy, 18);
  // Text running off every edge is cut, not written outside the target.
  ASSERT_TRUE(TextOutA(m.Dc, -5, 25, "FPS FPS FPS", 11));
  ASSERT_TRUE(TextOutA(m.Dc, 1000000, -1000000, "x", 1));
  EXPECT_FALSE(DeleteObject(font));  // still selected
  SelectObject(m.Dc, old);
  EXPECT_TRUE(DeleteObject(font));
}

TEST(Gdi, OpaqueTextFillsItsCells) {
  TCanvasMemory m;
  SetBkMode(m.Dc, OPAQUE);
  SetBkColor(m.Dc, RGB(255, 0, 0));
  SetTextColor(m.Dc, RGB(255, 255, 255));
  ASSERT_TRUE(TextOutA(m.Dc, 0, 0, " ", 1));
  EXPECT_EQ(m.At(0, 0), 249);
}

TEST(Gdi, LinesLeaveOutTheirEndPointAndClip) {
  TCanvasMemory m;
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  SelectObject(m.Dc, pen);
  MoveToEx(m.Dc, 2, 2, nullptr);
  ASSERT_TRUE(LineTo(m.Dc, 6, 2));
  EXPECT_EQ(m.At(2, 2), 255);
  EXPECT_EQ(m.At(5, 2), 255);
  EXPECT_EQ(m.At(6, 2), 0);  // the end point
  EXPECT_EQ(m.Count(255), 4);
  // A diagonal from inside to far outside: cut at the edges, continuing from the new position.
  ASSERT_TRUE(LineTo(m.Dc, 60, 50));
  EXPECT_EQ(m.At(6, 2), 255);  // the previous end starts this line
  MoveToEx(m.Dc, 3, 10, nullptr);
  ASSERT_TRUE(LineTo(m.Dc, 3, 10));  // zero length: nothing
  EXPECT_EQ(m.At(3, 10), 0);
  MoveToEx(m.Dc, 0, 0, nullptr);
  EXPECT_FALSE(LineTo(m.Dc, 2000000000, 5));  // beyond the device's coordinate range
  SelectObject(m.Dc, GetStockObject(7));
  DeleteObject(pen);
}

TEST(Gdi, StretchBltMatchesEachSourceColourToTheTargetPalette) {
  TCanvasMemory m;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = 2;  // bottom row stored first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 8;
  info.bmiColors[0] = {0, 0, 254, 0};     // nearly pure red (blue, green, red order)
  info.bmiColors[1] = {255, 255, 255, 0};  // white
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  auto* b = static_cast<std::uint8_t*>(bits);
  b[0] = 1;  // bottom-left: white
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  ASSERT_TRUE(StretchBlt(m.Dc, 10, 10, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(m.At(10, 10), 249);  // top-left: red
  EXPECT_EQ(m.At(10, 13), 255);  // bottom-left: white, scaled to 2x2
  EXPECT_EQ(m.At(11, 12), 255);
  EXPECT_EQ(m.At(12, 12), 249);
  EXPECT_EQ(m.At(14, 10), 0);    // outside the target rectangle
  ASSERT_TRUE(BitBlt(m.Dc, 39, 29, 2, 2, memory, 0, 0, SRCCOPY));  // cut at the corner
  EXPECT_EQ(m.At(39, 29), 249);
  SelectObject(memory, old);
  DeleteDC(memory);
  EXPECT_TRUE(DeleteObject(bitmap));
}

}  // namespace
