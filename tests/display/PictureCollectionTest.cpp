// The image list: names and buckets, surfaces made with the display and remade on restore,
// colour keys, and the drawing operations through the pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/DXImageList.h"
#include "platform/Gdi.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"
#include "tests/DisplayFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// Stored data of an 8-bit picture: colour 0 fuchsia, 1 gray 173, 2 red, 3 green, 4 blue; the
// pixel (x, y) from the top is pixel(x, y).
template <class F>
Bytes StoredPicture(int w, int h, F pixel) {
  Bytes b = {4, 'T', 'D', 'I', 'B'};
  const int stride = (w + 3) / 4 * 4;
  Put32(b, 40);
  Put32(b, std::uint32_t(w));
  Put32(b, std::uint32_t(h));
  Put32(b, 1 | 8 << 16);
  Put32(b, 0);
  Put32(b, std::uint32_t(stride * h));
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  const std::uint8_t colours[5][3] = {{255, 0, 255}, {173, 173, 173}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t* c = i < 5 ? colours[i] : colours[1];
    b.insert(b.end(), {c[2], c[1], c[0], 0});
  }
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < stride; ++x) b.push_back(x < w ? std::uint8_t(pixel(x, y)) : 0);
  return b;
}

std::uint8_t Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint8_t(NearestColorIndex(SystemPalette().data(), 256, r, g, b));
}

class PictureCollectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetApplication();
    SetEmulatedDisplayModes({});
    draw = NewGameDisplay(form);
    list = new TDXImageList(form);
    // Two names in bucket 51 (length 5, 's' and 'p'), a keyed picture and an opaque one.
    Add("Ship1", 31, 31, true, clFuchsia, [](int x, int y) { return (x + y) % 3 == 0 ? 0 : 2; });
    Add("Ship2", 31, 31, true, clFuchsia, [](int x, int y) { return x < 2 || y < 2 ? 0 : 3 + (x + y) % 2; });
    Add("PlanetInfo", 475, 160, false, 0xADADAD, [](int x, int) { return x % 10 == 0 ? 0 : 1; });
  }
  void TearDown() override {
    ResetApplication();
    SetEmulatedDisplayModes({});
    SetBackend(nullptr);
  }
  template <class F>
  void Add(const std::string& name, int w, int h, bool transparent, TColor color, F pixel) {
    TPictureCollectionItem* item = list->Items().Add();
    item->SetName(name);
    Bytes data = StoredPicture(w, h, pixel);
    item->Picture.LoadFromData(data.data(), data.size());
    item->Transparent = transparent;
    item->SetTransparentColor(color);
  }
  void Start() {
    list->SetDXDraw(draw);
    form->Show();
    ASSERT_TRUE(draw->Initialized());
    frame = draw->Surface;
    frame->Fill(0);
  }
  TPictureCollectionItem* Item(const std::string& name) { return list->Items().ImageByName(name); }

  THeadlessBackend backend;
  TForm* form = nullptr;
  TDXDraw* draw = nullptr;
  TDXImageList* list = nullptr;
  TDirectDrawSurface* frame = nullptr;
};

}  // namespace

TEST_F(PictureCollectionTest, LookUpIgnoresCaseAndAMissingNameRaises) {
  EXPECT_EQ(Item("ship2")->Name(), "Ship2");
  EXPECT_EQ(Item("SHIP1")->Name(), "Ship1");  // same bucket, found by its own name
  try {
    Item("Ship3");
    FAIL() << "no error";
  } catch (const EPictureCollectionError& e) {
    EXPECT_STREQ(e.what(), "Image 'Ship3' not found");
  }
  EXPECT_EQ(Item("Ship2")->Width(), 31);
  EXPECT_EQ(Item("PlanetInfo")->Height(), 160);
}

TEST_F(PictureCollectionTest, NothingIsDrawnBeforeTheDisplayRuns) {
  EXPECT_FALSE(Item("Ship2")->Initialized());
  EXPECT_EQ(Item("Ship2")->PatternCount(), 0);
  Start();
  Item("Ship2")->Draw(frame, 10, 10, 1);   // no pattern 1
  Item("Ship2")->Draw(frame, 10, 10, -1);
  EXPECT_EQ(frame->Pixels(12, 12), 0u);
  EXPECT_THROW(list->Items().Initialize(nullptr), EPictureCollectionError);
}

TEST_F(PictureCollectionTest, StartingTheDisplayMakesSurfacesWithNearestColoursAndKeys) {
  Start();
  TPictureCollectionItem* ship = Item("Ship2");
  ASSERT_TRUE(ship->Initialized());
  ASSERT_EQ(ship->PatternCount(), 1);
  TDirectDrawSurface* s = ship->PatternList[0].Surface;
  EXPECT_EQ(s->Width(), 31);
  EXPECT_EQ(s->Height(), 31);
  EXPECT_EQ(s->Pixels(5, 5), Nearest(0, 255, 0));  // colour 3
  EXPECT_EQ(s->Pixels(0, 6), Nearest(255, 0, 255));
  DDCOLORKEY key{};
  ASSERT_EQ(s->ISurface4()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, Nearest(255, 0, 255));
  EXPECT_EQ(key.dwColorSpaceHighValue, Nearest(255, 0, 255));
  EXPECT_EQ(s->NearestPixelValue(clFuchsia), Nearest(255, 0, 255));
  EXPECT_EQ(s->Pixels(0, 0), Nearest(255, 0, 255));  // the probe put pixel (0, 0) back

  // Stopping the display frees them; the pictures stay.
  draw->Finalize();
  EXPECT_FALSE(ship->Initialized());
  EXPECT_EQ(ship->PatternCount(), 0);
  EXPECT_EQ(ship->Picture.Width(), 31);
}

TEST_F(PictureCollectionTest, KeyedDrawLeavesTheKeyOutAndOpaqueDrawIgnoresIt) {
  Start();
  Item("Ship2")->Draw(frame, 100, 100, 0);
  EXPECT_EQ(frame->Pixels(100, 100), 0u);  // keyed
  EXPECT_EQ(frame->Pixels(105, 105), Nearest(0, 255, 0));
  // The panel's key (gray) is set on its surface, but its copies do not use it.
  TDirectDrawSurface* panel = Item("PlanetInfo")->PatternList[0].Surface;
  DDCOLORKEY key{};
  ASSERT_EQ(panel->ISurface4()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, Nearest(173, 173, 173));
  Item("PlanetInfo")->Draw(frame, 0, 300, 0);
  EXPECT_EQ(frame->Pixels(1, 300), Nearest(173, 173, 173));
  EXPECT_EQ(frame->Pixels(0, 300), Nearest(255, 0, 255));
}

TEST_F(PictureCollectionTest, TurnedDrawOfTheShipCoversItsBox) {
  Start();
  Item("Ship2")->DrawTurned(frame, 512, 384, 31, 31, 0, 0.5, 0.5, 0);
  EXPECT_EQ(frame->Pixels(497 + 5, 369 + 5), Nearest(0, 255, 0));
  EXPECT_EQ(frame->Pixels(497 + 29, 369 + 28), Nearest(0, 0, 255));  // column 29, row 28: colour 4
  EXPECT_EQ(frame->Pixels(527, 399), 0u);
  EXPECT_EQ(frame->Pixels(497, 369), 0u);  // keyed corner
  frame->Fill(0);
  Item("Ship2")->DrawTurnedBlended(frame, 512, 384, 31, 31, 0, 0.5, 0.5, 0, 0);
  EXPECT_EQ(frame->Pixels(497 + 5, 369 + 5), 0u);  // alpha 0
  Item("Ship2")->DrawTurnedBlended(frame, 512, 384, 31, 31, 0, 0.5, 0.5, 0, 1);
  EXPECT_EQ(frame->Pixels(497 + 5, 369 + 5), Nearest(0, 255, 0));
}

TEST_F(PictureCollectionTest, RestoreRemakesSurfacesAndKeys) {
  Start();
  TPictureCollectionItem* ship = Item("Ship2");
  TDirectDrawSurface* s = ship->PatternList[0].Surface;
  s->SetPixels(5, 5, 77);
  s->SetTransparentKey(77);
  draw->Restore();
  TDirectDrawSurface* t = ship->PatternList[0].Surface;
  EXPECT_EQ(t->Pixels(5, 5), Nearest(0, 255, 0));
  DDCOLORKEY key{};
  ASSERT_EQ(t->ISurface4()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, Nearest(255, 0, 255));
  frame->Fill(0);
  ship->Draw(frame, 0, 0, 0);
  EXPECT_EQ(frame->Pixels(0, 0), 0u);
  EXPECT_EQ(frame->Pixels(5, 5), Nearest(0, 255, 0));
}

TEST_F(PictureCollectionTest, ChangingTheTransparentColourRekeysWithoutReloading) {
  Start();
  TPictureCollectionItem* ship = Item("Ship1");
  TDirectDrawSurface* s = ship->PatternList[0].Surface;
  s->SetPixels(1, 0, 99);  // a mark a reload would wipe out
  ship->SetTransparentColor(0x0000FF);  // red
  DDCOLORKEY key{};
  ASSERT_EQ(s->ISurface4()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, Nearest(255, 0, 0));
  EXPECT_EQ(s->Pixels(1, 0), 99u);
  ship->Draw(frame, 0, 0, 0);
  EXPECT_EQ(frame->Pixels(0, 0), Nearest(255, 0, 255));  // fuchsia is drawn now
  EXPECT_EQ(frame->Pixels(2, 0), 0u);                    // red is left out
}

TEST_F(PictureCollectionTest, TheListFollowsItsDisplay) {
  Start();
  EXPECT_TRUE(Item("Ship2")->Initialized());
  list->SetDXDraw(nullptr);  // leaving a running display finalizes
  EXPECT_FALSE(Item("Ship2")->Initialized());
  list->SetDXDraw(draw);  // joining one reloads at once
  EXPECT_EQ(Item("Ship2")->PatternCount(), 1);
  delete draw;  // a display that goes detaches the list
  EXPECT_EQ(list->DXDraw(), nullptr);
  EXPECT_FALSE(Item("Ship2")->Initialized());
}
