// TPictureCollection and TPictureCollectionItem: the named pictures of an image list, turned into
// surfaces of the running display and drawn onto other surfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/Canvas.h"
#include "display/HashCollection.h"
#include "display/Picture.h"
#include "platform/WinTypes.h"
#include "shell/Exception.h"

class TCustomDXDraw;
class TDirectDrawSurface;
class TPictureCollection;

// A look-up by a name no picture has, or an initialization without a running display.
class EPictureCollectionError : public Exception {
 public:
  using Exception::Exception;
};

// One cell of a picture: a rectangle of one of the picture's surfaces.
struct TPictureCollectionItemPattern {
  RECT Rect{};
  TDirectDrawSurface* Surface = nullptr;
};

// A named picture. It keeps its stored picture always, and while the display runs one or more
// surfaces holding the picture in the display's pixel format, cut into patterns (one pattern,
// the whole picture, for every picture of this game). Its colour key is the raw value that
// TransparentColor becomes on its surfaces; copies leave that value out when Transparent.
class TPictureCollectionItem : public THashCollectionItem {
 public:
  explicit TPictureCollectionItem(TPictureCollection* collection);
  ~TPictureCollectionItem() override;

  TPictureCollection* Pictures() const;

  TPicture Picture;
  int PatternWidth = 0, PatternHeight = 0, SkipWidth = 0, SkipHeight = 0;
  bool SystemMemory = false;
  bool Transparent = true;
  TColor TransparentColor() const { return FTransparentColor; }
  // A different colour recomputes the key of every surface the picture has now.
  void SetTransparentColor(TColor value);

  bool Initialized() const { return FInitialized; }
  // PatternWidth (PatternHeight) when above 0, else the picture's own width (height).
  int Width() const;
  int Height() const;
  int PatternCount() const { return static_cast<int>(PatternList.size()); }

  // Drawing onto Dest (see TDirectDrawSurface). Nothing happens unless the picture has its
  // surfaces and PatternNumber is one of its patterns.
  void Draw(TDirectDrawSurface* Dest, int X, int Y, int PatternNumber);
  void DrawScaled(TDirectDrawSurface* Dest, const RECT& TargetArea, int PatternNumber);
  void DrawTurned(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height, int PatternNumber, double PivotX,
                  double PivotY, int Angle);
  void DrawTurnedBlended(TDirectDrawSurface* Dest, int X, int Y, int Width, int Height, int PatternNumber,
                         double PivotX, double PivotY, int Angle, int Alpha);

  // The display's lifecycle, driven by the collection.
  void Initialize();
  void Finalize();
  // Makes the surfaces again from the picture (old contents are not reused).
  void Restore();

  std::vector<TPictureCollectionItemPattern> PatternList;
  std::vector<TDirectDrawSurface*> OwnedSurfaces;

 private:
  void ClearSurfaces();
  TDirectDrawSurface* MakeSurface(const RECT& area);

  TColor FTransparentColor = clWhite;
  bool FInitialized = false;
};

// The pictures of an image list in stored order, found by name through the name hash. While
// initialized it remembers the display whose surfaces the pictures live in.
class TPictureCollection : public THashCollection {
 public:
  explicit TPictureCollection(void* owner = nullptr) : FOwner(owner) {}
  ~TPictureCollection() override;

  TPictureCollectionItem* Add() { return new TPictureCollectionItem(this); }
  TPictureCollectionItem* Items(int index) const { return static_cast<TPictureCollectionItem*>(GetItem(index)); }
  // The picture of that name (letter case ignored); EPictureCollectionError "Image '%s' not
  // found" when there is none.
  TPictureCollectionItem* ImageByName(const std::string& name) const;
  // The picture of that name, or nullptr.
  TPictureCollectionItem* Find(const std::string& name) const;

  TCustomDXDraw* DXDraw() const { return FDXDraw; }
  void* Owner() const { return FOwner; }
  // Remembers a running display and marks every picture initialized (the display's restore
  // that follows makes the surfaces). Raises "TPictureCollection cannot be initialized" when
  // the display is not running.
  void Initialize(TCustomDXDraw* DXDraw);
  // Frees every picture's surfaces and forgets the display.
  void Finalize();
  // Remakes every picture's surfaces, in collection order.
  void Restore();

  // The colour table the form may store with the list; nothing reads it.
  std::vector<std::uint8_t> ColorTable;

 private:
  void* FOwner;
  TCustomDXDraw* FDXDraw = nullptr;
};
