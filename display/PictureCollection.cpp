// The named pictures: look-up, the display's lifecycle, surfaces made from pictures, drawing.
#include "display/PictureCollection.h"

#include <algorithm>
#include <cstring>

#include "display/DXDraw.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "platform/Gdi.h"

namespace {

// A memory device context holding a copy of a bitmap, for copying it into a surface through
// the graphics interface (which matches its colours to the surface's palette).
class TDIBContext {
 public:
  explicit TDIBContext(const TDIB& dib) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = dib.Width;
    info.bmiHeader.biHeight = dib.Height;  // held bottom row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(dib.BitCount);
    info.bmiHeader.biCompression = dib.Compression == 3 ? BI_BITFIELDS : BI_RGB;
    if (dib.Compression == 3) {
      const DWORD masks[3] = {dib.RedMask, dib.GreenMask, dib.BlueMask};
      std::memcpy(info.bmiColors, masks, sizeof masks);
    } else if (dib.BitCount <= 8) {
      info.bmiHeader.biClrUsed = DWORD(1) << dib.BitCount;
      for (int i = 0; i < 256; ++i) {
        const TRGBQuad& q = dib.ColorTable[i];
        info.bmiColors[i] = {q.rgbBlue, q.rgbGreen, q.rgbRed, 0};
      }
    }
    Handle = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    Bitmap = CreateDIBSection(Handle, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!Bitmap) return;
    const std::vector<std::uint8_t>& rows = dib.Bits();
    std::copy(rows.begin(), rows.end(), static_cast<std::uint8_t*>(bits));
    Old = SelectObject(Handle, Bitmap);
  }
  ~TDIBContext() {
    if (Bitmap) {
      SelectObject(Handle, Old);
      DeleteObject(Bitmap);
    }
    DeleteDC(Handle);
  }
  TDIBContext(const TDIBContext&) = delete;
  TDIBContext& operator=(const TDIBContext&) = delete;

  HDC Handle = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

TPictureCollectionItem::TPictureCollectionItem(TPictureCollection* collection) : THashCollectionItem(collection) {}

TPictureCollectionItem::~TPictureCollectionItem() { Finalize(); }

TPictureCollection* TPictureCollectionItem::Pictures() const {
  return static_cast<TPictureCollection*>(Collection());
}

int TPictureCollectionItem::Width() const { return PatternWidth > 0 ? PatternWidth : Picture.Width(); }
int TPictureCollectionItem::Height() const { return PatternHeight > 0 ? PatternHeight : Picture.Height(); }

void TPictureCollectionItem::SetTransparentColor(TColor value) {
  if (value == FTransparentColor) return;
  FTransparentColor = value;
  for (TDirectDrawSurface* surface : OwnedSurfaces) {
    try {
      surface->SetTransparentKey(surface->NearestPixelValue(value));
    } catch (const std::exception&) {
      // One surface that cannot take the key does not keep the others from theirs.
    }
  }
}

void TPictureCollectionItem::Initialize() {
  Finalize();
  TCustomDXDraw* display = Pictures()->DXDraw();
  FInitialized = display && display->Initialized();
}

void TPictureCollectionItem::Finalize() {
  if (!FInitialized) return;
  FInitialized = false;
  ClearSurfaces();
}

void TPictureCollectionItem::ClearSurfaces() {
  PatternList.clear();
  for (TDirectDrawSurface* surface : OwnedSurfaces) delete surface;
  OwnedSurfaces.clear();
}

TDirectDrawSurface* TPictureCollectionItem::MakeSurface(const RECT& area) {
  auto* surface = new TDirectDrawSurface(Pictures()->DXDraw()->DDraw);
  OwnedSurfaces.push_back(surface);
  surface->SystemMemory = SystemMemory;
  // The picture's area, with its colours matched to the display's through the graphics interface.
  const int w = area.right - area.left, h = area.bottom - area.top;
  surface->MakeOffscreen(w, h);
  {
    TDIBContext picture(*Picture.Graphic());
    StretchBlt(surface->Canvas().Handle(), 0, 0, w, h, picture.Handle, area.left, area.top, w, h, SRCCOPY);
    surface->Canvas().Release();
  }
  // The key whatever Transparent says: copies decide whether to use it.
  surface->SetTransparentKey(surface->NearestPixelValue(FTransparentColor));
  return surface;
}

void TPictureCollectionItem::Restore() {
  if (!Picture.HasGraphic()) return;
  if (!FInitialized) {
    TCustomDXDraw* display = Pictures()->DXDraw();
    if (display && display->Initialized()) Initialize();
    if (!FInitialized) return;
  }
  ClearSurfaces();
  const int pictureWidth = Picture.Width(), pictureHeight = Picture.Height();
  if (Width() == pictureWidth && Height() == pictureHeight) {
    const RECT whole{0, 0, pictureWidth, pictureHeight};
    PatternList.push_back({whole, MakeSurface(whole)});
    return;
  }
  // A grid of patterns, row by row.
  const int cellWidth = Width() + SkipWidth, cellHeight = Height() + SkipHeight;
  if (cellWidth <= 0 || cellHeight <= 0) return;
  const int columns = (pictureWidth + SkipWidth) / cellWidth, rows = (pictureHeight + SkipHeight) / cellHeight;
  if (SystemMemory) {
    TDirectDrawSurface* surface = MakeSurface(RECT{0, 0, pictureWidth, pictureHeight});
    for (int f = 0; f < rows; ++f)
      for (int g = 0; g < columns; ++g)
        PatternList.push_back(
            {RECT{cellWidth * g, cellHeight * f, cellWidth * g + Width(), cellHeight * f + Height()}, surface});
    return;
  }
  // Without system memory the picture goes into blocks of whole cells about 512 pixels a side,
  // each pattern in the block that holds its cell.
  const int blockColumns = std::max(1, 512 / cellWidth), blockRows = std::max(1, 512 / cellHeight);
  std::vector<std::pair<RECT, TDirectDrawSurface*>> blocks;
  for (int f0 = 0; f0 < rows; f0 += blockRows)
    for (int g0 = 0; g0 < columns; g0 += blockColumns) {
      const int g1 = std::min(columns, g0 + blockColumns), f1 = std::min(rows, f0 + blockRows);
      const RECT block{cellWidth * g0, cellHeight * f0, cellWidth * (g1 - 1) + Width(), cellHeight * (f1 - 1) + Height()};
      blocks.push_back({block, MakeSurface(block)});
    }
  for (int f = 0; f < rows; ++f)
    for (int g = 0; g < columns; ++g) {
      const RECT cell{cellWidth * g, cellHeight * f, cellWidth * g + Width(), cellHeight * f + Height()};
      for (const auto& [block, surface] : blocks)
        if (cell.left >= block.left && cell.top >= block.top && cell.right <= block.right && cell.bottom <= block.bottom) {
          PatternList.push_back(
              {RECT{cell.left - block.left, cell.top - block.top, cell.right - block.left, cell.bottom - block.top},
               surface});
          break;
        }
    }
}

void TPictureCollectionItem::Draw(TDirectDrawSurface* Dest, int X, int Y, int PatternNumber) {
  if (!FInitialized || PatternNumber < 0 || PatternNumber >= PatternCount() || !Dest) return;
  const TPictureCollectionItemPattern& p = PatternList[std::size_t(PatternNumber)];
  Dest->Draw(X, Y, p.Rect, p.Surface, Transparent);
}

void TPictureCollectionItem::DrawScaled(TDirectDrawSurface* Dest, const RECT& TargetArea, int PatternNumber) {
  if (!FInitialized || PatternNumber < 0 || PatternNumber >= PatternCount() || !Dest) return;
  const TPictureCollectionItemPattern& p = PatternList[std::size_t(PatternNumber)];
  Dest->DrawScaled(TargetArea, p.Rect, p.Surface, Transparent);
}

void TPictureCollectionItem::DrawTurned(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height,
                                        int PatternNumber, double PivotX, double PivotY, int Angle) {
  if (!FInitialized || PatternNumber < 0 || PatternNumber >= PatternCount() || !Dest) return;
  const TPictureCollectionItemPattern& p = PatternList[std::size_t(PatternNumber)];
  Dest->DrawTurned(X, Y, Width, Height, p.Rect, p.Surface, PivotX, PivotY, Transparent, Angle);
}

void TPictureCollectionItem::DrawTurnedBlended(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height,
                                               int PatternNumber, double PivotX, double PivotY, int Angle,
                                               int Alpha) {
  if (!FInitialized || PatternNumber < 0 || PatternNumber >= PatternCount() || !Dest) return;
  const TPictureCollectionItemPattern& p = PatternList[std::size_t(PatternNumber)];
  Dest->DrawTurnedBlended(X, Y, Width, Height, p.Rect, p.Surface, PivotX, PivotY, Transparent, Angle, Alpha);
}

// ---------------------------------------------------------------------------------------------

TPictureCollection::~TPictureCollection() {
  Finalize();
  Clear();
}

TPictureCollectionItem* TPictureCollection::Find(const std::string& name) const {
  const int i = NameIndex(name);
  return i < 0 ? nullptr : Items(i);
}

TPictureCollectionItem* TPictureCollection::ImageByName(const std::string& name) const {
  if (TPictureCollectionItem* item = Find(name)) return item;
  throw EPictureCollectionError("Image '" + name + "' not found");
}

void TPictureCollection::Initialize(TCustomDXDraw* DXDraw) {
  Finalize();
  FDXDraw = DXDraw;
  if (!FDXDraw || !FDXDraw->Initialized())
    throw EPictureCollectionError("TPictureCollection cannot be initialized");
  for (int i = 0; i < Count(); ++i) Items(i)->Initialize();
}

void TPictureCollection::Finalize() {
  struct TForget {
    TCustomDXDraw*& DXDraw;
    ~TForget() { DXDraw = nullptr; }
  } forget{FDXDraw};
  for (int i = 0; i < Count(); ++i) Items(i)->Finalize();
}

void TPictureCollection::Restore() {
  for (int i = 0; i < Count(); ++i) Items(i)->Restore();
}
