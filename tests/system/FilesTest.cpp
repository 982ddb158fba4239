// Files by their UTF-8 names: made new without touching one that is there, renamed over another,
// looked at, removed, and folders made, also with names beyond ASCII.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "system/Files.h"

namespace {

// A folder of its own for each test (ctest runs them side by side), made and emptied through the
// functions under test, so that the names reach the system as they would from the game.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = ::testing::TempDir() + "tarnyx-files-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::string reason;
    ASSERT_TRUE(MakeFolders(Folder, reason)) << reason;
  }
  void TearDown() override {
    for (const char* name :
         {"rec.part", "new", "old", "fresh", "Ωmega ünïcødé.tnxdemo", "日本/frame.png"})
      RemoveFile(Path(name));
    // The empty folders (Windows' C library removes no folder: they stay in its temporary folder).
    std::remove((Folder + "日本").c_str());
    std::remove(Folder.c_str());
  }
  std::string Path(const std::string& name) const { return Folder + name; }
  static void Put(const std::string& path, const std::string& text) {
    std::FILE* file = OpenFile(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    EXPECT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
    EXPECT_EQ(std::fclose(file), 0);
  }
  static std::string Read(const std::string& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return "(cannot open)";
    std::string text;
    char buffer[256];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
      text.append(buffer, got);
    std::fclose(file);
    return text;
  }
  std::string Folder;
};

TEST_F(FilesTest, ANewFileIsMadeAndOneThatIsThereIsRefusedAndKept) {
  std::FILE* made = CreateNewFile(Path("rec.part"));
  ASSERT_NE(made, nullptr);
  // Bytes as written: no line-end translation, no end at 0x1A.
  EXPECT_EQ(std::fwrite("a\nb\x1a"
                        "c",
                        1, 5, made),
            5u);
  EXPECT_EQ(std::fclose(made), 0);
  EXPECT_EQ(Read(Path("rec.part")),
            "a\nb\x1a"
            "c");

  errno = 0;
  EXPECT_EQ(CreateNewFile(Path("rec.part")), nullptr);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(Read(Path("rec.part")),
            "a\nb\x1a"
            "c");  // the remains are untouched

  errno = 0;
  EXPECT_EQ(CreateNewFile(Path("missing/rec.part")), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(FilesTest, RenamingReplacesTheTargetOrSaysWhyNot) {
  Put(Path("new"), "new bytes");
  Put(Path("old"), "old");
  EXPECT_TRUE(RenameReplacing(Path("new"), Path("old")));
  EXPECT_EQ(Read(Path("old")), "new bytes");
  EXPECT_EQ(LookAtPath(Path("new")).Kind, pkMissing);
  // Onto a name not yet taken, too.
  EXPECT_TRUE(RenameReplacing(Path("old"), Path("fresh")));
  EXPECT_EQ(Read(Path("fresh")), "new bytes");

  errno = 0;
  EXPECT_FALSE(RenameReplacing(Path("gone"), Path("fresh")));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(Read(Path("fresh")), "new bytes");
}

TEST_F(FilesTest, LookingAtANameSaysWhatIsThereAndHowLarge) {
  Put(Path("old"), "twelve bytes");
  const TPathInfo file = LookAtPath(Path("old"));
  EXPECT_EQ(file.Kind, pkRegular);
  EXPECT_EQ(file.Size, 12u);
  EXPECT_EQ(LookAtPath(Folder).Kind, pkFolder);  // with its closing separator
  EXPECT_EQ(LookAtPath(Folder.substr(0, Folder.size() - 1)).Kind, pkFolder);
  EXPECT_EQ(LookAtPath(Path("gone")).Kind, pkMissing);
  EXPECT_EQ(LookAtPath(Path("gone/below")).Kind, pkMissing);
  EXPECT_TRUE(RemoveFile(Path("old")));
  EXPECT_EQ(LookAtPath(Path("old")).Kind, pkMissing);
  errno = 0;
  EXPECT_FALSE(RemoveFile(Path("old")));
  EXPECT_EQ(errno, ENOENT);
}

// Names beyond ASCII are UTF-8 throughout; each function must reach the same file by them (on
// Windows a narrow C library call would go through the ANSI code page and miss it).
TEST_F(FilesTest, NamesBeyondAsciiReachTheSameFileEverywhere) {
  const std::string demo = Path("Ωmega ünïcødé.tnxdemo");
  std::FILE* made = CreateNewFile(demo);
  ASSERT_NE(made, nullptr);
  EXPECT_GE(std::fputs("recorded", made), 0);
  std::fclose(made);
  EXPECT_EQ(LookAtPath(demo).Kind, pkRegular);
  EXPECT_EQ(LookAtPath(demo).Size, 8u);

  std::string reason;
  ASSERT_TRUE(MakeFolders(Path("日本"), reason)) << reason;
  EXPECT_TRUE(MakeFolders(Path("日本"), reason)) << "a folder that is there is success";
  EXPECT_EQ(LookAtPath(Path("日本")).Kind, pkFolder);
  EXPECT_TRUE(RenameReplacing(demo, Path("日本/frame.png")));
  EXPECT_EQ(Read(Path("日本/frame.png")), "recorded");
  EXPECT_EQ(LookAtPath(demo).Kind, pkMissing);
}

TEST_F(FilesTest, TheLastSeparatorIsFound) {
  EXPECT_EQ(LastPathSeparator("a/b/c"), 3u);
  EXPECT_EQ(LastPathSeparator("plain"), std::string::npos);
#ifdef _WIN32
  EXPECT_EQ(LastPathSeparator("C:\\games/x\\y"), 10u);
#else
  EXPECT_EQ(LastPathSeparator("a\\b"), std::string::npos);  // a name's own character here
#endif
}

}  // namespace
