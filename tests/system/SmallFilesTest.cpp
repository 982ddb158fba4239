// Small files read without blocking and replaced whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "system/SmallFiles.h"

namespace {

namespace fs = std::filesystem;

class SmallFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder of each test's own: ctest runs the tests side by side.
    dir = fs::path(::testing::TempDir()) /
          (std::string("tarnyx-small-file-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
  // A named pipe, made by the system's tool (the tests include no system header).
  static bool MakePipe(const fs::path& p) {
    return std::system(("mkfifo '" + p.string() + "'").c_str()) == 0;
  }
  fs::path dir;
};

TEST_F(SmallFileTest, ReadsUpToTheLimitAndRefusesWhatIsNoFile) {
  std::string bytes, error;
  EXPECT_EQ(ReadSmallFile((dir / "none").string(), 10, bytes, error), sfMissing);
  Put(dir / "ten", "0123456789");
  EXPECT_EQ(ReadSmallFile((dir / "ten").string(), 10, bytes, error), sfRead);
  EXPECT_EQ(bytes, "0123456789");
  EXPECT_EQ(ReadSmallFile((dir / "ten").string(), 9, bytes, error), sfFailed);
  EXPECT_NE(error.find("larger"), std::string::npos) << error;
  EXPECT_TRUE(bytes.empty());
  error.clear();
  EXPECT_EQ(ReadSmallFile(dir.string(), 10, bytes, error), sfFailed);
  EXPECT_NE(error.find("folder"), std::string::npos) << error;
#ifndef _WIN32  // Windows has no named pipes among its files
  // A pipe with no writer: opening it for reading the ordinary way would wait for ever.
  ASSERT_TRUE(MakePipe(dir / "pipe"));
  error.clear();
  EXPECT_EQ(ReadSmallFile((dir / "pipe").string(), 10, bytes, error), sfFailed);
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
#endif
#ifndef _WIN32  // Windows says "not found" of a path through a file, as of a missing folder's
  // A path through a file: not missing, but not readable either.
  error.clear();
  EXPECT_EQ(ReadSmallFile((dir / "ten" / "x").string(), 10, bytes, error), sfFailed);
  EXPECT_FALSE(error.empty());
#endif
}

TEST_F(SmallFileTest, ReplacesMakingTheFolderAndRefusesWhatCannotBeWritten) {
  std::string error;
  fs::path target = dir / "a" / "b" / "settings.ini";
  ASSERT_TRUE(ReplaceSmallFile(target.string(), "one\n", error)) << error;
  ASSERT_TRUE(ReplaceSmallFile(target.string(), "two\n", error)) << error;
  std::string bytes;
  EXPECT_EQ(ReadSmallFile(target.string(), 100, bytes, error), sfRead);
  EXPECT_EQ(bytes, "two\n");
  // The folder cannot be made (a file is in its way), even for root.
  Put(dir / "file", "x");
  EXPECT_FALSE(ReplaceSmallFile((dir / "file" / "settings.ini").string(), "x", error));
  EXPECT_NE(error.find("cannot make the folder"), std::string::npos) << error;
#ifndef _WIN32
  // A pipe where the file should be is not written into (that would block).
  ASSERT_TRUE(MakePipe(dir / "pipe"));
  error.clear();
  EXPECT_FALSE(ReplaceSmallFile((dir / "pipe").string(), "x", error));
  EXPECT_FALSE(error.empty());
#endif
}

}  // namespace
