// Keys and hats as the platform codes them. SDL's scancodes are the keys' USB usage ids, which
// is how they are written here (this folder does not include SDL).
#include <gtest/gtest.h>

#include <set>

#include "backends/sdl/SdlInputMap.h"

namespace {
// USB usage ids of the keys used below.
constexpr int kA = 4, kD = 7, kI = 12, kZ = 29, k1 = 30, k0 = 39, kReturn = 40, kEscape = 41;
constexpr int kSpace = 44, kApostrophe = 52, kF1 = 58, kF2 = 59, kF10 = 67, kF12 = 69;
constexpr int kInsert = 73, kHome = 74, kPageUp = 75, kDelete = 76, kEnd = 77, kPageDown = 78;
constexpr int kRight = 79, kLeft = 80, kDown = 81, kUp = 82, kKpDivide = 84, kKpEnter = 88;
constexpr int kKp1 = 89, kKp2 = 90, kKp4 = 92, kKp6 = 94, kKp8 = 96, kKp0 = 98;
constexpr int kLCtrl = 224, kLShift = 225, kLAlt = 226, kRCtrl = 228, kRShift = 229, kRAlt = 230;
}  // namespace

TEST(SdlInputMap, ScanCodesAreSetOneWithExtendedKeysAbove0x80) {
  EXPECT_EQ(PcScanCodeFromSdl(kUp), 0xC8);
  EXPECT_EQ(PcScanCodeFromSdl(kLeft), 0xCB);
  EXPECT_EQ(PcScanCodeFromSdl(kRight), 0xCD);
  EXPECT_EQ(PcScanCodeFromSdl(kDown), 0xD0);
  EXPECT_EQ(PcScanCodeFromSdl(kLShift), 0x2A);
  EXPECT_EQ(PcScanCodeFromSdl(kRShift), 0x36);
  EXPECT_EQ(PcScanCodeFromSdl(kApostrophe), 0x28);
  EXPECT_EQ(PcScanCodeFromSdl(kKp8), 0x48);
  EXPECT_EQ(PcScanCodeFromSdl(kKp2), 0x50);
  EXPECT_EQ(PcScanCodeFromSdl(kKp4), 0x4B);
  EXPECT_EQ(PcScanCodeFromSdl(kKp6), 0x4D);
  EXPECT_EQ(PcScanCodeFromSdl(kA), 0x1E);
  EXPECT_EQ(PcScanCodeFromSdl(kD), 0x20);
  EXPECT_EQ(PcScanCodeFromSdl(kI), 0x17);
  EXPECT_EQ(PcScanCodeFromSdl(kZ), 0x2C);
  EXPECT_EQ(PcScanCodeFromSdl(k1), 0x02);
  EXPECT_EQ(PcScanCodeFromSdl(k0), 0x0B);
  EXPECT_EQ(PcScanCodeFromSdl(kF1), 0x3B);
  EXPECT_EQ(PcScanCodeFromSdl(kF2), 0x3C);
  EXPECT_EQ(PcScanCodeFromSdl(kF10), 0x44);
  EXPECT_EQ(PcScanCodeFromSdl(kF12), 0x58);
  EXPECT_EQ(PcScanCodeFromSdl(kEscape), 0x01);
  EXPECT_EQ(PcScanCodeFromSdl(kReturn), 0x1C);
  EXPECT_EQ(PcScanCodeFromSdl(kKpEnter), 0x9C);
  EXPECT_EQ(PcScanCodeFromSdl(kSpace), 0x39);
  EXPECT_EQ(PcScanCodeFromSdl(kLCtrl), 0x1D);
  EXPECT_EQ(PcScanCodeFromSdl(kRCtrl), 0x9D);
  EXPECT_EQ(PcScanCodeFromSdl(kLAlt), 0x38);
  EXPECT_EQ(PcScanCodeFromSdl(kRAlt), 0xB8);
  EXPECT_EQ(PcScanCodeFromSdl(kKpDivide), 0xB5);
  EXPECT_EQ(PcScanCodeFromSdl(kHome), 0xC7);
  EXPECT_EQ(PcScanCodeFromSdl(kPageUp), 0xC9);
  EXPECT_EQ(PcScanCodeFromSdl(kEnd), 0xCF);
  EXPECT_EQ(PcScanCodeFromSdl(kPageDown), 0xD1);
  EXPECT_EQ(PcScanCodeFromSdl(kInsert), 0xD2);
  EXPECT_EQ(PcScanCodeFromSdl(kDelete), 0xD3);
}

TEST(SdlInputMap, EveryScanCodeTheKeyboardTableNamesHasAKey) {
  // The scan codes that the keyboard's scan-code table turns into virtual keys.
  std::set<int> wanted = {1, 13, 14, 15, 26, 27, 28, 29, 39, 40, 42, 43, 51, 52, 53, 54, 55, 56,
                          57, 58, 69, 70, 87, 88, 156, 157, 181, 184, 199, 200, 201, 203, 205,
                          207, 208, 209, 210, 211, 219, 220, 221};
  for (int c = 2; c <= 11; ++c) wanted.insert(c);
  for (int c = 16; c <= 25; ++c) wanted.insert(c);
  for (int c = 30; c <= 38; ++c) wanted.insert(c);
  for (int c = 44; c <= 50; ++c) wanted.insert(c);
  for (int c = 59; c <= 68; ++c) wanted.insert(c);
  for (int c = 71; c <= 83; ++c) wanted.insert(c);
  ASSERT_EQ(wanted.size(), 100u);

  std::set<int> produced;
  for (int sdl = -2; sdl < 520; ++sdl) {
    int code = PcScanCodeFromSdl(sdl);
    EXPECT_GE(code, 0);
    EXPECT_LE(code, 255);
    if (code) produced.insert(code);
  }
  for (int code : wanted) EXPECT_TRUE(produced.count(code)) << "no key gives scan code " << code;
}

TEST(SdlInputMap, VirtualKeysAreTheUsLayoutCodes) {
  EXPECT_EQ(VirtualKeyFromSdl(kA), 'A');
  EXPECT_EQ(VirtualKeyFromSdl(kZ), 'Z');
  EXPECT_EQ(VirtualKeyFromSdl(k1), '1');
  EXPECT_EQ(VirtualKeyFromSdl(k0), '0');
  EXPECT_EQ(VirtualKeyFromSdl(kLeft), 0x25);
  EXPECT_EQ(VirtualKeyFromSdl(kUp), 0x26);
  EXPECT_EQ(VirtualKeyFromSdl(kRight), 0x27);
  EXPECT_EQ(VirtualKeyFromSdl(kDown), 0x28);
  EXPECT_EQ(VirtualKeyFromSdl(kF2), 0x71);
  EXPECT_EQ(VirtualKeyFromSdl(kF12), 0x7B);
  EXPECT_EQ(VirtualKeyFromSdl(kKp0), 0x60);
  EXPECT_EQ(VirtualKeyFromSdl(kKp1), 0x61);
  EXPECT_EQ(VirtualKeyFromSdl(kKp8), 0x68);
  EXPECT_EQ(VirtualKeyFromSdl(kApostrophe), 0xDE);  // not 39, the Right arrow's code
  EXPECT_EQ(VirtualKeyFromSdl(kReturn), 0x0D);
  EXPECT_EQ(VirtualKeyFromSdl(kKpEnter), 0x0D);
  EXPECT_EQ(VirtualKeyFromSdl(kEscape), 0x1B);
  EXPECT_EQ(VirtualKeyFromSdl(kSpace), 0x20);

  EXPECT_EQ(VirtualKeyFromSdl(kLShift), 0x10);
  EXPECT_EQ(VirtualKeyFromSdl(kRShift), 0x10);
  EXPECT_EQ(SidedVirtualKeyFromSdl(kLShift), 0xA0);
  EXPECT_EQ(SidedVirtualKeyFromSdl(kRShift), 0xA1);
  EXPECT_EQ(VirtualKeyFromSdl(kRCtrl), 0x11);
  EXPECT_EQ(SidedVirtualKeyFromSdl(kRCtrl), 0xA3);
  EXPECT_EQ(VirtualKeyFromSdl(kLAlt), 0x12);
  EXPECT_EQ(SidedVirtualKeyFromSdl(kLAlt), 0xA4);
  EXPECT_EQ(SidedVirtualKeyFromSdl(kA), 0);
}

TEST(SdlInputMap, UnknownKeysAndValuesOutOfRangeGiveNothing) {
  for (int sdl : {-1, 0, 512, 100000}) {
    EXPECT_EQ(PcScanCodeFromSdl(sdl), 0);
    EXPECT_EQ(VirtualKeyFromSdl(sdl), 0);
    EXPECT_EQ(SidedVirtualKeyFromSdl(sdl), 0);
  }
}

TEST(SdlInputMap, HatDirectionsClockwiseFromUp) {
  constexpr int up = 1, right = 2, down = 4, left = 8;
  EXPECT_EQ(HatToHundredthsOfDegree(0), -1);
  EXPECT_EQ(HatToHundredthsOfDegree(up), 0);
  EXPECT_EQ(HatToHundredthsOfDegree(up | right), 4500);
  EXPECT_EQ(HatToHundredthsOfDegree(right), 9000);
  EXPECT_EQ(HatToHundredthsOfDegree(down | right), 13500);
  EXPECT_EQ(HatToHundredthsOfDegree(down), 18000);
  EXPECT_EQ(HatToHundredthsOfDegree(down | left), 22500);
  EXPECT_EQ(HatToHundredthsOfDegree(left), 27000);
  EXPECT_EQ(HatToHundredthsOfDegree(up | left), 31500);
  EXPECT_EQ(HatToHundredthsOfDegree(up | down), -1);
}
