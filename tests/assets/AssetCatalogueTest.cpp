// Checks the committed pictures and display palette against the picture catalogue.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kAssets = std::string(TARNYX_SOURCE_DIR) + "/assets";

struct CatalogueEntry {
  const char* name;
  int width, height, bits;
  bool transparent;
  std::uint32_t storedBytes;  // class name (5 bytes) + the bitmap without its 14-byte file header
};

const CatalogueEntry kCatalogue[] = {
    {"Ship1", 31, 31, 8, true, 2061},          {"Ship2", 31, 31, 8, true, 2061},
    {"Flame", 15, 19, 8, true, 1373},          {"Planet100", 200, 200, 8, true, 41069},
    {"Planet110", 220, 220, 8, true, 49469},   {"Planet120", 240, 240, 8, true, 58669},
    {"Planet130", 260, 260, 8, true, 68669},   {"Planet140", 280, 280, 8, true, 79469},
    {"Planet150", 300, 300, 8, true, 91069},   {"Planet160", 320, 320, 8, true, 103469},
    {"Planet170", 340, 340, 8, true, 116669},  {"Planet180", 360, 360, 8, true, 130669},
    {"Planet190", 380, 380, 8, true, 145469},  {"Planet200", 400, 400, 8, true, 161069},
    {"Planet400", 800, 800, 8, true, 641069},  {"Pine", 23, 29, 8, true, 1765},
    {"FruitTree", 23, 29, 8, true, 1765},      {"Radar", 34, 37, 8, true, 2401},
    {"ControlTower", 38, 75, 8, true, 4069},   {"FlashRed", 11, 11, 4, true, 197},
    {"FlashGreen", 11, 11, 4, true, 197},      {"FlashBlue", 11, 11, 4, true, 197},
    {"FlashYellow", 11, 11, 4, true, 197},     {"Explosion", 43, 51, 8, true, 3313},
    {"Explosion2", 96, 96, 8, true, 10285},    {"Rock1", 35, 54, 8, true, 3013},
    {"Rock2", 27, 14, 8, true, 1461},          {"Rock3", 28, 15, 8, true, 1489},
    {"FlagBlue", 30, 65, 8, true, 3149},       {"FlagGreen", 30, 65, 8, true, 3149},
    {"FlagGray", 30, 65, 8, true, 3149},       {"FlagPink", 30, 65, 8, true, 3149},
    {"FlagYellow", 30, 65, 8, true, 3149},     {"PlanetInfo", 475, 160, 8, false, 77229},
    {"B_Res_S", 22, 25, 8, true, 1669},        {"B_Res_M", 33, 57, 8, false, 3121},
    {"B_Vitamin", 39, 61, 8, true, 3509},      {"B_Marmalade", 36, 60, 8, true, 3229},
    {"B_Mineral", 36, 48, 8, true, 2797},      {"B_Furniture", 49, 25, 8, true, 2369},
    {"B_Weapons", 36, 35, 8, true, 2329},      {"B_Water", 29, 50, 8, true, 2669},
    {"B_Ship", 56, 55, 8, true, 4149},         {"B_Robot", 45, 57, 8, true, 3805},
    {"B_Soldier", 41, 38, 8, true, 2741},      {"B_Castle", 58, 69, 8, true, 5209},
    {"B_Power", 36, 60, 8, true, 3229},
};

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
  auto operator<=>(const Rgb&) const = default;
};

// A bitmap file as read by this test's own small parser.
struct Bitmap {
  std::vector<std::uint8_t> bytes;
  std::uint32_t U32(size_t at) const {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  }
  std::uint16_t U16(size_t at) const { return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8); }
  std::int32_t Width() const { return static_cast<std::int32_t>(U32(18)); }
  std::int32_t Height() const { return static_cast<std::int32_t>(U32(22)); }
  int Bits() const { return U16(28); }
  size_t Colours() const { return Bits() == 8 ? 256 : 16; }
  Rgb Entry(size_t i) const { return {bytes[54 + 4 * i + 2], bytes[54 + 4 * i + 1], bytes[54 + 4 * i]}; }
  std::vector<Rgb> Table() const {
    std::vector<Rgb> t;
    for (size_t i = 0; i < Colours(); ++i) t.push_back(Entry(i));
    return t;
  }
  size_t Stride() const { return ((static_cast<size_t>(Bits()) * static_cast<size_t>(Width()) + 31) / 32) * 4; }
  // The colour-table index of pixel (x, y), y counted from the top.
  int Index(int x, int y) const {
    const size_t row = static_cast<size_t>(Height() - 1 - y);
    const size_t at = U32(10) + row * Stride();
    if (Bits() == 8) return bytes[at + static_cast<size_t>(x)];
    const std::uint8_t b = bytes[at + static_cast<size_t>(x) / 2];
    return x % 2 == 0 ? b >> 4 : b & 15;
  }
};

Bitmap Load(const std::string& name) {
  std::ifstream in(kAssets + "/images/" + name + ".bmp", std::ios::binary);
  return {std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {})};
}

std::vector<Rgb> LoadPalette() {
  std::ifstream in(kAssets + "/palette.hex");
  std::vector<Rgb> p;
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() != 6 || line.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) return {};
    const auto v = std::stoul(line, nullptr, 16);
    p.push_back({static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
  }
  return p;
}

// The display's match: least squared distance, ties to the lowest entry.
int Nearest(const std::vector<Rgb>& palette, Rgb c) {
  int best = 0, bestD = 1 << 30;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestD) bestD = d, best = static_cast<int>(i);
  }
  return best;
}

constexpr Rgb kFuchsia{255, 0, 255};

// The index of the transparent colour in a picture's table, or -1.
int FuchsiaIndex(const Bitmap& b) {
  for (size_t i = 0; i < b.Colours(); ++i)
    if (b.Entry(i) == kFuchsia) return static_cast<int>(i);
  return -1;
}

TEST(AssetCatalogue, TheFolderHoldsExactlyTheCataloguedPictures) {
  std::set<std::string> files;
  for (const auto& f : std::filesystem::directory_iterator(kAssets + "/images"))
    if (f.path().extension() == ".bmp") files.insert(f.path().stem().string());
  std::set<std::string> names;
  for (const auto& e : kCatalogue) names.insert(e.name);
  EXPECT_EQ(std::size(kCatalogue), 47u);
  EXPECT_EQ(files, names);
}

TEST(AssetCatalogue, HeadersFollowTheStoredPictureFormat) {
  for (const auto& e : kCatalogue) {
    SCOPED_TRACE(e.name);
    const Bitmap b = Load(e.name);
    ASSERT_GE(b.bytes.size(), 54u);
    EXPECT_EQ(b.bytes[0], 'B');
    EXPECT_EQ(b.bytes[1], 'M');
    EXPECT_EQ(b.U32(2), b.bytes.size());
    EXPECT_EQ(b.U32(14), 40u);
    EXPECT_EQ(b.Width(), e.width);
    EXPECT_EQ(b.Height(), e.height);  // positive: bottom row first
    EXPECT_EQ(b.U16(26), 1);
    EXPECT_EQ(b.Bits(), e.bits);
    EXPECT_EQ(b.U32(30), 0u);
    EXPECT_EQ(b.U32(34), b.Stride() * static_cast<size_t>(e.height));
    for (size_t at : {38, 42, 46, 50}) EXPECT_EQ(b.U32(at), 0u) << "at " << at;
    EXPECT_EQ(b.U32(10), 54 + 4 * b.Colours());
    EXPECT_EQ(b.bytes.size(), b.U32(10) + b.Stride() * static_cast<size_t>(e.height));
    EXPECT_EQ(5 + b.bytes.size() - 14, e.storedBytes);
    for (size_t i = 0; i < b.Colours(); ++i) EXPECT_EQ(b.bytes[54 + 4 * i + 3], 0) << "reserved byte of entry " << i;
  }
  EXPECT_EQ(Load("FlashRed").Stride(), 8u);
}

TEST(AssetCatalogue, EveryPictureHasItsOwnColourTable) {
  std::set<std::vector<Rgb>> tables;
  for (const auto& e : kCatalogue) EXPECT_TRUE(tables.insert(Load(e.name).Table()).second) << e.name;
}

TEST(AssetCatalogue, PaletteHoldsTheStaticColoursInPlace) {
  const auto p = LoadPalette();
  ASSERT_EQ(p.size(), 256u);
  const std::uint32_t low[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
  const std::uint32_t high[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  auto rgb = [](std::uint32_t v) {
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  };
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p[static_cast<size_t>(i)], rgb(low[i])) << i;
    EXPECT_EQ(p[static_cast<size_t>(246 + i)], rgb(high[i])) << 246 + i;
  }
  // Fuchsia exists once only, so no art colour can become transparent by accident.
  for (size_t i = 0; i < 256; ++i) {
    if (i != 253) {
      EXPECT_NE(p[i], kFuchsia) << i;
    }
  }
}

TEST(AssetCatalogue, TransparentColourSurroundsTheFigureAndIsNotShared) {
  const auto palette = LoadPalette();
  ASSERT_EQ(palette.size(), 256u);
  ASSERT_EQ(Nearest(palette, kFuchsia), 253);
  for (const auto& e : kCatalogue) {
    SCOPED_TRACE(e.name);
    const Bitmap b = Load(e.name);
    const int key = FuchsiaIndex(b);
    if (e.transparent) {
      ASSERT_GE(key, 0);
      int count = 0;
      for (const auto& c : b.Table()) count += c == kFuchsia;
      EXPECT_EQ(count, 1);
      // The figure stands free: the top corners are transparent, and a good part of it is not.
      EXPECT_EQ(b.Index(0, 0), key);
      EXPECT_EQ(b.Index(e.width - 1, 0), key);
      int figure = 0;
      for (int y = 0; y < e.height; ++y)
        for (int x = 0; x < e.width; ++x) figure += b.Index(x, y) != key;
      EXPECT_GT(figure, e.width * e.height / 5);
    }
    for (size_t i = 0; i < b.Colours(); ++i) {
      if (static_cast<int>(i) != key) {
        EXPECT_NE(Nearest(palette, b.Entry(i)), 253) << "entry " << i;
      }
    }
  }
}

TEST(AssetCatalogue, PlanetsAreDiscsTouchingAllFourEdges) {
  for (const auto& e : kCatalogue) {
    if (std::string(e.name).rfind("Planet", 0) != 0 || e.width != e.height) continue;
    SCOPED_TRACE(e.name);
    const Bitmap b = Load(e.name);
    const int key = FuchsiaIndex(b), n = e.width;
    const double r = n / 2.0;
    int wrong = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        const double dx = x + 0.5 - r, dy = y + 0.5 - r, d = std::sqrt(dx * dx + dy * dy);
        const bool opaque = b.Index(x, y) != key;
        if (d < r - 1.0 && !opaque) ++wrong;
        if (d > r + 0.75 && opaque) ++wrong;
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(b.Index(n / 2, 0), key);
    EXPECT_NE(b.Index(n / 2, n - 1), key);
    EXPECT_NE(b.Index(0, n / 2), key);
    EXPECT_NE(b.Index(n - 1, n / 2), key);
  }
}

TEST(AssetCatalogue, RimThingsStandOnTheBottomEdge) {
  for (const auto& e : kCatalogue) {
    const std::string name = e.name;
    const bool rimThing = name.rfind("B_", 0) == 0 || name.rfind("Flag", 0) == 0 || name.rfind("Rock", 0) == 0 ||
                          name == "Pine" || name == "FruitTree" || name == "Radar" || name == "ControlTower";
    if (!rimThing) continue;
    SCOPED_TRACE(name);
    const Bitmap b = Load(name);
    const int key = FuchsiaIndex(b);
    int opaque = 0;
    for (int x = 0; x < e.width; ++x) opaque += b.Index(x, e.height - 1) != key;
    EXPECT_GE(opaque, 3);
  }
}

TEST(AssetCatalogue, InformationPanelFieldsAreBlackWhereTheTextsLand) {
  const auto palette = LoadPalette();
  const Bitmap b = Load("PlanetInfo");
  struct Area {
    int x, y, w, h;
  };
  // Name (15 characters), owner (28) and population (8 digits), text up to 20 pixels high.
  for (const Area& a : {Area{287, 13, 15 * 10, 20}, Area{163, 70, 28 * 10, 20}, Area{270, 104, 8 * 10, 20}})
    for (int y = a.y; y < a.y + a.h; ++y)
      for (int x = a.x; x < a.x + a.w; ++x) ASSERT_EQ(Nearest(palette, b.Entry(static_cast<size_t>(b.Index(x, y)))), 0) << x << "," << y;
  // The miniature's frame is centred on (80, 80): the viewer is not black at its middle.
  EXPECT_NE(b.Entry(static_cast<size_t>(b.Index(80, 80))), (Rgb{0, 0, 0}));
}

}  // namespace
