// Every picture the program carries reads with the game's own reader, at its catalogued size.
#include <gtest/gtest.h>

#include <string>

#include "display/Picture.h"
#include "shell/Resources.h"

namespace {

struct TCatalogued {
  const char* Name;
  int Width, Height, BitCount, Colors;
  std::size_t StoredBytes;
};

// The catalogue, in collection order.
const TCatalogued Catalogue[] = {
    {"Ship1", 31, 31, 8, 256, 2061},
    {"Ship2", 31, 31, 8, 256, 2061},
    {"Flame", 15, 19, 8, 256, 1373},
    {"Planet100", 200, 200, 8, 256, 41069},
    {"Planet110", 220, 220, 8, 256, 49469},
    {"Planet120", 240, 240, 8, 256, 58669},
    {"Planet130", 260, 260, 8, 256, 68669},
    {"Planet140", 280, 280, 8, 256, 79469},
    {"Planet150", 300, 300, 8, 256, 91069},
    {"Planet160", 320, 320, 8, 256, 103469},
    {"Planet170", 340, 340, 8, 256, 116669},
    {"Planet180", 360, 360, 8, 256, 130669},
    {"Planet190", 380, 380, 8, 256, 145469},
    {"Planet200", 400, 400, 8, 256, 161069},
    {"Planet400", 800, 800, 8, 256, 641069},
    {"Pine", 23, 29, 8, 256, 1765},
    {"FruitTree", 23, 29, 8, 256, 1765},
    {"Radar", 34, 37, 8, 256, 2401},
    {"ControlTower", 38, 75, 8, 256, 4069},
    {"FlashRed", 11, 11, 4, 16, 197},
    {"FlashGreen", 11, 11, 4, 16, 197},
    {"FlashBlue", 11, 11, 4, 16, 197},
    {"FlashYellow", 11, 11, 4, 16, 197},
    {"Explosion", 43, 51, 8, 256, 3313},
    {"Explosion2", 96, 96, 8, 256, 10285},
    {"Rock1", 35, 54, 8, 256, 3013},
    {"Rock2", 27, 14, 8, 256, 1461},
    {"Rock3", 28, 15, 8, 256, 1489},
    {"FlagBlue", 30, 65, 8, 256, 3149},
    {"FlagGreen", 30, 65, 8, 256, 3149},
    {"FlagGray", 30, 65, 8, 256, 3149},
    {"FlagPink", 30, 65, 8, 256, 3149},
    {"FlagYellow", 30, 65, 8, 256, 3149},
    {"PlanetInfo", 475, 160, 8, 256, 77229},
    {"B_Res_S", 22, 25, 8, 256, 1669},
    {"B_Res_M", 33, 57, 8, 256, 3121},
    {"B_Vitamin", 39, 61, 8, 256, 3509},
    {"B_Marmalade", 36, 60, 8, 256, 3229},
    {"B_Mineral", 36, 48, 8, 256, 2797},
    {"B_Furniture", 49, 25, 8, 256, 2369},
    {"B_Weapons", 36, 35, 8, 256, 2329},
    {"B_Water", 29, 50, 8, 256, 2669},
    {"B_Ship", 56, 55, 8, 256, 4149},
    {"B_Robot", 45, 57, 8, 256, 3805},
    {"B_Soldier", 41, 38, 8, 256, 2741},
    {"B_Castle", 58, 69, 8, 256, 5209},
    {"B_Power", 36, 60, 8, 256, 3229},
};

}  // namespace

TEST(StoredPictures, EveryEmbeddedPictureReadsAtItsCataloguedSize) {
  RegisterPictureResources();
  for (const TCatalogued& c : Catalogue) {
    SCOPED_TRACE(c.Name);
    const auto bytes = FindResource(std::string("pictures/") + c.Name);
    ASSERT_EQ(bytes.size(), c.StoredBytes);
    TPicture picture;
    ASSERT_NO_THROW(picture.LoadFromData(bytes.data(), bytes.size()));
    ASSERT_TRUE(picture.HasGraphic());
    const TDIB& dib = *picture.Graphic();
    EXPECT_EQ(dib.Width, c.Width);
    EXPECT_EQ(dib.Height, c.Height);
    EXPECT_EQ(dib.BitCount, c.BitCount);
    EXPECT_EQ(dib.ColorCount, c.Colors);
    EXPECT_EQ(dib.Stride, c.BitCount == 4 ? 8 : (c.Width + 3) / 4 * 4);
    EXPECT_FALSE(dib.TopDown);
  }
}
