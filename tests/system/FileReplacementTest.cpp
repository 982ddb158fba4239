// Files written under a temporary name and renamed into place: the target is the old file or the
// whole new one, never anything between, and no temporary file outlives the writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "system/FileReplacement.h"

namespace fs = std::filesystem;

namespace {

class FileReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = fs::path(::testing::TempDir()) /
             ("tarnyx-replace-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(Folder);
    fs::create_directories(Folder);
  }
  void TearDown() override { fs::remove_all(Folder); }

  std::string Path(const char* name) const { return (Folder / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path Folder;
};

}  // namespace

TEST_F(FileReplacementTest, TheTargetChangesOnlyAtTheCommitAndNoTemporaryFileStays) {
  const std::string path = Path("state.json");
  Put(path, "old");
  {
    TFileReplacement file(path);
    ASSERT_TRUE(file.Good()) << file.Error();
    EXPECT_TRUE(file.Write("new ", 4));
    EXPECT_TRUE(file.Write("state", 5));
    EXPECT_EQ(Read(path), "old");  // written beside it until the end
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_TRUE(file.Commit()) << file.Error();
  }
  EXPECT_EQ(Read(path), "new state");
  EXPECT_EQ(Names(), std::vector<std::string>{"state.json"});

  // A writer given up before its commit (a failure on the way) leaves the old file alone.
  { TFileReplacement(path).Write("half", 4); }
  EXPECT_EQ(Read(path), "new state");
  EXPECT_EQ(Names(), std::vector<std::string>{"state.json"});

  // A new file appears whole, with the permissions of a file made afresh.
  const std::string fresh = Path("fresh.txt");
  TFileReplacement file(fresh);
  ASSERT_TRUE(file.Write("x", 1) && file.Commit()) << file.Error();
  EXPECT_EQ(Read(fresh), "x");
  Put(Path("plain.txt"), "");
  EXPECT_EQ(fs::status(fresh).permissions(), fs::status(Path("plain.txt")).permissions());
}

TEST_F(FileReplacementTest, TheReplacementKeepsTheOldFilesPermissionsAndSymbolicLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions and symbolic links";
#endif
  const std::string real = Path("real.png"), link = Path("link.png");
  Put(real, "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);
  TFileReplacement file(link);
  ASSERT_TRUE(file.Write("new", 3) && file.Commit()) << file.Error();
  EXPECT_TRUE(fs::is_symlink(link));  // the file behind the link was replaced, not the link
  EXPECT_EQ(Read(real), "new");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(), (std::vector<std::string>{"link.png", "real.png"}));
}

TEST_F(FileReplacementTest, FailuresNameTheFileAndTheReasonAndLeaveNothing) {
  const std::string missing = Path("no-such-folder/x.png");
  TFileReplacement nowhere(missing);
  EXPECT_FALSE(nowhere.Good());
  EXPECT_FALSE(nowhere.Write("x", 1));
  EXPECT_FALSE(nowhere.Commit());
  EXPECT_EQ(nowhere.Error(), "cannot write " + missing + ": No such file or directory");

  // A folder in the target's place cannot be replaced by a file.
  fs::create_directory(Path("folder"));
  TFileReplacement folder(Path("folder"));
  EXPECT_FALSE(folder.Write("x", 1) && folder.Commit());
  EXPECT_EQ(folder.Error(), "cannot write " + Path("folder") + ": Is a directory");
  EXPECT_EQ(Names(), std::vector<std::string>{"folder"});
}
