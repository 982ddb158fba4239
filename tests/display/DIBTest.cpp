// The bitmap reader: every header, depth and row order it takes, and the data it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/Picture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(Bytes& b, std::uint16_t v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}

// A bitmap with an information header; colours entry i = (i, 2i, 3i); pixel rows as given.
Bytes InfoDIB(int width, int height, int bits, int compression, std::uint32_t colorsUsed, int colors,
              const Bytes& pixels, std::uint32_t imageSize = 0) {
  Bytes b;
  Put32(b, 40);
  Put32(b, std::uint32_t(width));
  Put32(b, std::uint32_t(height));
  Put16(b, 1);
  Put16(b, std::uint16_t(bits));
  Put32(b, std::uint32_t(compression));
  Put32(b, imageSize ? imageSize : std::uint32_t(pixels.size()));
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, colorsUsed);
  Put32(b, 0);
  for (int i = 0; i < colors; ++i) {
    b.push_back(std::uint8_t(i));
    b.push_back(std::uint8_t(2 * i));
    b.push_back(std::uint8_t(3 * i));
    b.push_back(0);
  }
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

TDIB Read(const Bytes& b) {
  TDIB d;
  d.LoadFromData(b.data(), b.size());
  return d;
}

Bytes Stored(const Bytes& dib) {
  Bytes b = {4, 'T', 'D', 'I', 'B'};
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

}  // namespace

TEST(DIB, EightBitRowsAreHeldBottomFirstAndColoursComeFromTheTable) {
  // 3 x 2, stride 4: bottom row 1 2 3, top row 4 5 6.
  TDIB d = Read(InfoDIB(3, 2, 8, 0, 0, 256, {1, 2, 3, 0, 4, 5, 6, 0}));
  EXPECT_EQ(d.Width, 3);
  EXPECT_EQ(d.Height, 2);
  EXPECT_EQ(d.Stride, 4);
  EXPECT_EQ(d.ColorCount, 256);
  EXPECT_EQ(d.ScanLine(0)[0], 4);  // top row
  EXPECT_EQ(d.ScanLine(1)[2], 3);
  EXPECT_EQ(d.PixelColor(1, 0), 0x0F0A05u);  // entry 5: red 15, green 10, blue 5
}

TEST(DIB, NegativeHeightIsHeldBottomFirstLikeAPositiveOne) {
  TDIB up = Read(InfoDIB(3, 2, 8, 0, 0, 256, {1, 2, 3, 0, 4, 5, 6, 0}));
  TDIB down = Read(InfoDIB(3, -2, 8, 0, 0, 256, {4, 5, 6, 0, 1, 2, 3, 0}));
  EXPECT_EQ(down.Height, 2);
  EXPECT_TRUE(down.TopDown);
  EXPECT_EQ(up.Bits(), down.Bits());
}

TEST(DIB, FourBitPictureHasSixteenColoursAndStrideEight) {
  Bytes rows(8 * 11, 0);
  rows[8 * 10] = 0xA5;  // top row: pixels 10 and 5
  TDIB d = Read(InfoDIB(11, 11, 4, 0, 0, 16, rows));
  EXPECT_EQ(d.ColorCount, 16);
  EXPECT_EQ(d.Stride, 8);
  EXPECT_EQ(d.PixelColor(0, 0), 0x1E140Au);  // entry 10: red 30, green 20, blue 10
  EXPECT_EQ(d.PixelColor(1, 0), 0x0F0A05u);
  EXPECT_EQ(d.ColorTable[16], TRGBQuad{});  // entries beyond the count stay black
}

TEST(DIB, OneSixteenTwentyFourAndThirtyTwoBitLayouts) {
  TDIB one = Read(InfoDIB(9, 1, 1, 0, 0, 2, {0x40, 0x80, 0, 0}));
  EXPECT_EQ(one.PixelColor(1, 0), 0x030201u);  // bit 6 of the first byte
  EXPECT_EQ(one.PixelColor(0, 0), 0u);
  EXPECT_EQ(one.PixelColor(8, 0), 0x030201u);

  TDIB rgb555 = Read(InfoDIB(1, 1, 16, 0, 0, 0, {0x1F, 0x7C, 0, 0}));  // 0x7C1F: red and blue full
  EXPECT_EQ(rgb555.ColorCount, 0);
  EXPECT_EQ(rgb555.PixelColor(0, 0), 0xFF00FFu);

  Bytes masks565 = InfoDIB(1, 1, 16, 3, 0, 0, {});
  for (std::uint32_t m : {0xF800u, 0x7E0u, 0x1Fu}) Put32(masks565, m);
  for (std::uint8_t p : {0xE0, 0x07, 0, 0}) masks565.push_back(p);  // 0x07E0: green full
  EXPECT_EQ(Read(masks565).PixelColor(0, 0), 0x00FF00u);

  EXPECT_EQ(Read(InfoDIB(1, 1, 24, 0, 0, 0, {1, 2, 3, 0})).PixelColor(0, 0), 0x030201u);
  EXPECT_EQ(Read(InfoDIB(1, 1, 32, 0, 0, 0, {1, 2, 3, 9})).PixelColor(0, 0), 0x030201u);
}

TEST(DIB, CoreHeaderHasShortFieldsAndThreeByteColours) {
  Bytes b;
  Put32(b, 12);
  Put16(b, 2);
  Put16(b, 1);
  Put16(b, 1);
  Put16(b, 8);
  for (int i = 0; i < 256; ++i) {
    b.push_back(std::uint8_t(i));
    b.push_back(7);
    b.push_back(9);
  }
  for (std::uint8_t p : {200, 201, 0, 0}) b.push_back(p);
  TDIB d = Read(b);
  EXPECT_EQ(d.Width, 2);
  EXPECT_EQ(d.PixelColor(1, 0), 0x0907C9u);
}

TEST(DIB, RunLengthDataIsKeptAndExpandedWhenPixelsAreNeeded) {
  // 8-bit: 3 x 5, then end of row; literal 1 2 3 (padded); delta (1, 0) then 9; end of picture.
  Bytes rle = {3, 5, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 1, 0, 1, 9, 0, 1};
  TDIB d = Read(InfoDIB(4, 3, 8, 1, 0, 256, rle));
  EXPECT_EQ(d.CompressedBits(), rle);
  const Bytes& bits = d.Bits();
  EXPECT_EQ(Bytes(bits.begin(), bits.begin() + 4), (Bytes{5, 5, 5, 0}));
  EXPECT_EQ(Bytes(bits.begin() + 4, bits.begin() + 8), (Bytes{1, 2, 3, 0}));  // delta ran off the row
  EXPECT_EQ(Bytes(bits.begin() + 8, bits.end()), (Bytes{0, 0, 0, 0}));

  // 4-bit: 5 pixels alternating 1 and 2, then a literal of 3 nibbles 7 8 9.
  Bytes rle4 = {5, 0x12, 0, 3, 0x78, 0x90};
  TDIB f = Read(InfoDIB(8, 2, 4, 2, 0, 16, rle4));
  EXPECT_EQ(f.Bits()[0], 0x12);
  EXPECT_EQ(f.Bits()[1], 0x12);
  EXPECT_EQ(f.Bits()[2], 0x17);
  EXPECT_EQ(f.Bits()[3], 0x89);
}

TEST(DIB, RunsPastTheRowOrThePictureAreCut) {
  Bytes rle = {200, 7, 0, 0, 200, 8, 0, 0, 255, 9};  // the third row does not exist
  TDIB d = Read(InfoDIB(3, 2, 8, 1, 0, 256, rle));
  EXPECT_EQ(d.Bits(), (Bytes{7, 7, 7, 0, 8, 8, 8, 0}));
  Bytes literal = {0, 250, 1, 2};  // a literal longer than the data
  EXPECT_EQ(Read(InfoDIB(3, 1, 8, 1, 0, 256, literal)).Bits(), (Bytes{1, 2, 0, 0}));
  Bytes far = {0, 2, 255, 255, 4, 4};  // a delta past the picture's end
  EXPECT_EQ(Read(InfoDIB(3, 1, 8, 1, 0, 256, far)).Bits(), (Bytes{0, 0, 0, 0}));
}

TEST(DIB, EmptyDataIsAnEmptyPicture) {
  TPicture p;
  Bytes prefix = {4, 'T', 'D', 'I', 'B'};
  p.LoadFromData(prefix.data(), prefix.size());
  ASSERT_NE(p.Graphic(), nullptr);
  EXPECT_TRUE(p.Graphic()->Empty());
  EXPECT_FALSE(p.HasGraphic());
  EXPECT_EQ(p.Width(), 0);
  Bytes none = {0};
  p.LoadFromData(none.data(), none.size());
  EXPECT_EQ(p.Graphic(), nullptr);
}

TEST(DIB, StoredDataStartsWithTheClassName) {
  TPicture p;
  Bytes s = Stored(InfoDIB(1, 1, 8, 0, 0, 256, {3, 0, 0, 0}));
  p.LoadFromData(s.data(), s.size());
  EXPECT_EQ(p.Width(), 1);
  Bytes other = {4, 'T', 'B', 'M', 'P', 0};
  EXPECT_THROW(p.LoadFromData(other.data(), other.size()), EInvalidGraphic);
  Bytes cut = {9, 'T', 'D'};
  EXPECT_THROW(p.LoadFromData(cut.data(), cut.size()), EInvalidGraphic);
}

namespace {

template <class E>
std::string Refusal(const Bytes& b) {
  try {
    Read(b);
  } catch (const E& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("wrong class: ") + e.what();
  }
  return "read";
}

}  // namespace

TEST(DIB, MalformedDataIsRefusedWithTheReadersErrors) {
  const std::string invalid = "DIB is invalid";
  Bytes good = InfoDIB(2, 2, 8, 0, 0, 256, Bytes(8, 1));
  EXPECT_EQ(Refusal<EInvalidGraphic>(Bytes{40, 0}), invalid);             // fewer than 4 bytes
  EXPECT_EQ(Refusal<EInvalidGraphic>(Bytes{41, 0, 0, 0}), invalid);       // no such header
  EXPECT_EQ(Refusal<EInvalidGraphic>(Bytes(good.begin(), good.begin() + 30)), invalid);  // header cut
  EXPECT_EQ(Refusal<EInvalidGraphic>(Bytes(good.begin(), good.end() - 1)), invalid);    // pixels cut
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(2, 2, 8, 0, 0, 100, {})), invalid);         // table cut
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(2, 2, 8, 4, 0, 256, Bytes(8, 1))), invalid);  // compression 4
  EXPECT_EQ(Refusal<EInvalidGraphicOperation>(InfoDIB(2, 2, 7, 0, 0, 128, Bytes(8, 1))),
            "Bitcount in invalid (7)");
  Bytes wrongMasks = InfoDIB(1, 1, 24, 3, 0, 0, {});
  for (std::uint32_t m : {0xFFu, 0xFF00u, 0xFF0000u}) Put32(wrongMasks, m);
  EXPECT_EQ(Refusal<EInvalidGraphicOperation>(wrongMasks), "PixelFormat in invalid");
}

TEST(DIB, ImpossibleSizesAreRefusedBeforeAnythingIsAllocated) {
  const std::string invalid = "DIB is invalid";
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(0, 2, 8, 0, 0, 256, {})), invalid);
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(-3, 2, 8, 0, 0, 256, {})), invalid);
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(2, 0, 8, 0, 0, 256, {})), invalid);
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(2, INT32_MIN, 8, 0, 0, 256, {})), invalid);
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(16385, 1, 8, 1, 0, 256, {0, 1})), invalid);
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(16384, 16384, 32, 0, 0, 0, {})), invalid);  // 1 GiB
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(16384, 4097, 8, 1, 0, 256, {0, 1})), invalid);  // 64 MiB + a row
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(8, 8, 8, 1, 0, 256, {0, 1}, 1000)), invalid);  // size > data
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(8, 8, 8, 0, 257, 0, {})), invalid);  // table overflows
  EXPECT_EQ(Refusal<EInvalidGraphic>(InfoDIB(8, 8, 4, 1, 0, 16, {0, 1})), invalid);  // RLE8 on 4 bits
  // The largest accepted picture (64 MiB) reads from compact run-length data.
  EXPECT_EQ(Read(InfoDIB(16384, 4096, 8, 1, 0, 256, {0, 1})).Height, 4096);
}

TEST(DIB, FileReaderTakesBmpFilesAndStoredData) {
  Bytes dib = InfoDIB(2, 1, 8, 0, 0, 256, {1, 2, 0, 0});
  Bytes file = {'B', 'M'};
  file.resize(14, 0);
  file.insert(file.end(), dib.begin(), dib.end());
  EXPECT_EQ(ReadDIBFile(file.data(), file.size()).Width, 2);
  Bytes stored = Stored(dib);
  EXPECT_EQ(ReadDIBFile(stored.data(), stored.size()).Width, 2);
}

namespace {

// The refusal DataSize gives for b, written as Refusal writes LoadFromData's, or its size.
template <class E>
std::string SizeRefusal(const Bytes& b) {
  try {
    return "size " + std::to_string(TDIB::DataSize(b.data(), b.size()));
  } catch (const E& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("wrong class: ") + e.what();
  }
}

}  // namespace

TEST(DIB, TheHeadersAloneSayHowLongThePictureIs) {
  // Only the part before the pixels is given: 40-byte header, the colour table, masks.
  auto headerOnly = [](const Bytes& b, std::size_t pixels) {
    return TDIB::DataSize(b.data(), b.size() - pixels);
  };
  EXPECT_EQ(headerOnly(InfoDIB(3, 2, 8, 0, 0, 256, Bytes(8, 1)), 8), 40 + 1024 + 8u);
  EXPECT_EQ(headerOnly(InfoDIB(3, -2, 24, 0, 0, 0, Bytes(24, 1)), 24), 40 + 24u);
  Bytes masks = InfoDIB(2, 2, 16, 3, 0, 0, {});
  for (std::uint32_t m : {0xF800u, 0x7E0u, 0x1Fu}) Put32(masks, m);
  EXPECT_EQ(TDIB::DataSize(masks.data(), masks.size()), 40 + 12 + 8u);
  // Run-length data is as long as the header says, present or not.
  EXPECT_EQ(headerOnly(InfoDIB(8, 8, 8, 1, 0, 256, {0, 1}, 1000), 2), 40 + 1024 + 1000u);
  EXPECT_EQ(TDIB::DataSize(nullptr, 0), 0u);

  // The file forms: a .bmp's 14-byte file header, a stored class name, no picture at all.
  Bytes dib = InfoDIB(2, 1, 8, 0, 0, 256, {1, 2, 0, 0});
  Bytes file = {'B', 'M'};
  file.resize(14, 0);
  file.insert(file.end(), dib.begin(), dib.end());
  EXPECT_EQ(DIBFileSize(file.data(), file.size() - 4), file.size());
  Bytes stored = Stored(dib);
  EXPECT_EQ(DIBFileSize(stored.data(), stored.size()), stored.size());
  Bytes none = {0, 'x', 'y'};
  EXPECT_EQ(DIBFileSize(none.data(), none.size()), 1u);
  Bytes other = {3, 'B', 'M', 'P', 40, 0, 0, 0};
  EXPECT_THROW(DIBFileSize(other.data(), other.size()), EInvalidGraphic);
  EXPECT_LE(DIBFileSize(file.data(), DIBFileHeadBytes), MaxDIBFileBytes);
}

TEST(DIB, TheHeadersRefuseWhatReadingRefuses) {
  Bytes wrongMasks = InfoDIB(1, 1, 24, 3, 0, 0, {});
  for (std::uint32_t m : {0xFFu, 0xFF00u, 0xFF0000u}) Put32(wrongMasks, m);
  for (const Bytes& b : {Bytes{40, 0}, Bytes{41, 0, 0, 0}, InfoDIB(2, 2, 8, 0, 0, 100, {}),
                         InfoDIB(2, 2, 8, 4, 0, 256, {}), InfoDIB(16385, 1, 8, 1, 0, 256, {}),
                         InfoDIB(16384, 4097, 8, 1, 0, 256, {}), InfoDIB(8, 8, 4, 1, 0, 16, {}),
                         InfoDIB(8, 8, 8, 1, 0, 256, {}, TDIB::MaxPixelBytes + 1)}) {
    EXPECT_EQ(SizeRefusal<EInvalidGraphic>(b), "DIB is invalid");
    EXPECT_EQ(Refusal<EInvalidGraphic>(b), "DIB is invalid");
  }
  for (const Bytes& b : {InfoDIB(2, 2, 7, 0, 0, 128, {}), wrongMasks})
    EXPECT_EQ(SizeRefusal<EInvalidGraphicOperation>(b), Refusal<EInvalidGraphicOperation>(b));
}

TEST(DIB, ALowerMemoryLimitHoldsPixelsAndRunLengthDataToIt) {
  Bytes plain = InfoDIB(8, 4, 8, 0, 0, 256, Bytes(32, 1));
  Bytes rle(40, 0);
  rle.back() = 1;  // 19 empty rows, then the end of the picture
  Bytes runs = InfoDIB(8, 4, 8, 1, 0, 256, rle);
  TDIB d;
  EXPECT_NO_THROW(d.LoadFromData(plain.data(), plain.size(), 32));
  EXPECT_THROW(d.LoadFromData(plain.data(), plain.size(), 31), EInvalidGraphic);
  EXPECT_NO_THROW(d.LoadFromData(runs.data(), runs.size(), 40));
  EXPECT_THROW(d.LoadFromData(runs.data(), runs.size(), 39), EInvalidGraphic);  // 32 pixel bytes, 40 of runs
  TPicture p;
  Bytes stored = Stored(plain);
  EXPECT_THROW(p.LoadFromData(stored.data(), stored.size(), 31), EInvalidGraphic);
}
