// Screenshot files: the folder rule, fresh names within one second, and the picture written.
#include "media/Screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/Png.h"

namespace {

TEST(ScreenshotFile, SecondsGetFreshNamesAndThePictureIsTheFrame) {
  namespace fs = std::filesystem;
  fs::path folder = fs::path(::testing::TempDir()) / "tarnyx-screenshot-file" / "made";
  fs::remove_all(folder.parent_path());
  const int width = 5, height = 3, pitch = 8;
  std::vector<std::uint8_t> pixels(pitch * height);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 3);
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0x00010203u * i;

  std::time_t now = std::time(nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    std::string path, error;
    ASSERT_TRUE(SaveScreenshotFile(folder.string(), now, pixels.data(), pitch, width, height,
                                   palette, path, error))
        << error;
    EXPECT_EQ(fs::path(path).parent_path(), folder);
    names.push_back(fs::path(path).filename().string());
  }
  // tarnyx-YYYYMMDD-HHMMSS.png, then -2 and -3 within the same second
  ASSERT_EQ(names[0].size(), 26u) << names[0];
  EXPECT_EQ(names[0].rfind("tarnyx-", 0), 0u);
  std::string stem = names[0].substr(0, 22);
  EXPECT_EQ(names[1], stem + "-2.png");
  EXPECT_EQ(names[2], stem + "-3.png");

  std::ifstream in(folder / names[1], std::ios::binary);
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  TRgbaPicture picture;
  std::string error;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), picture, error)) << error;
  ASSERT_EQ(picture.Width, width);
  ASSERT_EQ(picture.Height, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t rgb = palette[pixels[y * pitch + x]];
      const auto* px = reinterpret_cast<const std::uint8_t*>(&picture.Pixels[y * width + x]);
      ASSERT_EQ(px[0], (rgb >> 16) & 0xFF);
      ASSERT_EQ(px[1], (rgb >> 8) & 0xFF);
      ASSERT_EQ(px[2], rgb & 0xFF);
    }
  }
  fs::remove_all(folder.parent_path());
}

TEST(ScreenshotFile, NeverGoesOverAFolderOrADevice) {
  namespace fs = std::filesystem;
  fs::path folder = fs::path(::testing::TempDir()) / "tarnyx-screenshot-kinds";
  fs::remove_all(folder);
  std::uint8_t pixel = 0;
  std::uint32_t palette[256] = {};
  const std::time_t now = std::time(nullptr);
  std::string path, error;
  ASSERT_TRUE(SaveScreenshotFile(folder.string(), now, &pixel, 1, 1, 1, palette, path, error)) << error;
  const std::string stem = path.substr(0, path.size() - 4);
  fs::remove(path);
  // The names of that second taken by a folder and by a link to the null device.
  fs::create_directory(stem + ".png");
  fs::create_symlink("/dev/null", stem + "-2.png");
  ASSERT_TRUE(SaveScreenshotFile(folder.string(), now, &pixel, 1, 1, 1, palette, path, error)) << error;
  EXPECT_EQ(path, stem + "-3.png");
  EXPECT_TRUE(fs::is_directory(stem + ".png"));
  EXPECT_TRUE(fs::is_symlink(stem + "-2.png"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  fs::remove_all(folder);
}

TEST(ScreenshotFile, WithoutAFolderItSaysWhy) {
  std::uint8_t pixel = 0;
  std::uint32_t palette[256] = {};
  std::string path, error;
  EXPECT_FALSE(SaveScreenshotFile("", 0, &pixel, 1, 1, 1, palette, path, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  // A folder that cannot be made: below a file.
  EXPECT_FALSE(SaveScreenshotFile("/dev/null/tarnyx/", 0, &pixel, 1, 1, 1, palette, path, error));
  EXPECT_NE(error.find("/dev/null/tarnyx/"), std::string::npos) << error;
}

}  // namespace
