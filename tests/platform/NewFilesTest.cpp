// Making a file new without touching one that is there, and renaming one over another.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/NewFiles.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, emptied before and after.
class NewFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = fs::path(::testing::TempDir()) /
             (std::string("tarnyx-newfiles-") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Folder);
    fs::create_directories(Folder);
  }
  void TearDown() override { fs::remove_all(Folder); }
  std::string Path(const char* name) const { return (Folder / name).string(); }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path Folder;
};

TEST_F(NewFilesTest, ANewFileIsMadeAndOneThatIsThereIsRefusedAndKept) {
  std::FILE* made = CreateNewFile(Path("rec.part"));
  ASSERT_NE(made, nullptr);
  // Bytes as written: no line-end translation.
  EXPECT_EQ(std::fwrite("a\nb\x1a", 1, 4, made), 4u);
  EXPECT_EQ(std::fclose(made), 0);
  EXPECT_EQ(Read(Path("rec.part")), "a\nb\x1a");

  errno = 0;
  EXPECT_EQ(CreateNewFile(Path("rec.part")), nullptr);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(Read(Path("rec.part")), "a\nb\x1a");  // the remains are untouched

  errno = 0;
  EXPECT_EQ(CreateNewFile(Path("missing/rec.part")), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(NewFilesTest, RenamingReplacesTheTargetOrSaysWhyNot) {
  Put(Path("new"), "new bytes");
  Put(Path("old"), "old");
  EXPECT_TRUE(RenameReplacing(Path("new"), Path("old")));
  EXPECT_EQ(Read(Path("old")), "new bytes");
  EXPECT_FALSE(fs::exists(Path("new")));
  // Onto a name not yet taken, too.
  EXPECT_TRUE(RenameReplacing(Path("old"), Path("fresh")));
  EXPECT_EQ(Read(Path("fresh")), "new bytes");

  errno = 0;
  EXPECT_FALSE(RenameReplacing(Path("gone"), Path("fresh")));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(Read(Path("fresh")), "new bytes");
}

}  // namespace
