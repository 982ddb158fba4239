// Putting files on the disk: in the background without losing a request, and failures reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "system/FileSync.h"

namespace {

TEST(BackgroundFileSync, ServesEveryRequestAndCanStartAgain) {
  std::string path = testing::TempDir() + "tarnyx-filesync";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  TBackgroundFileSync sync;
  EXPECT_TRUE(sync.Wait());  // nothing asked yet
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 200; ++i) {
      std::fputs("frame\n", file);
      std::fflush(file);
      sync.Request(file);  // many while one runs: none waits
    }
    EXPECT_TRUE(sync.Wait());
  }
  EXPECT_TRUE(SyncFileToDisk(file));
  EXPECT_EQ(std::fclose(file), 0);
  EXPECT_TRUE(SyncFolderOf(path));
  std::remove(path.c_str());
}

TEST(BackgroundFileSync, ReportsAFileThatCannotBeSynced) {
  // A device that keeps nothing cannot be put on a disk.
  std::FILE* sink = std::fopen("/dev/null", "wb");
  ASSERT_NE(sink, nullptr);
  TBackgroundFileSync sync;
  sync.Request(sink);
  EXPECT_FALSE(sync.Wait());
  EXPECT_FALSE(SyncFileToDisk(sink));
  std::fclose(sink);
  EXPECT_FALSE(SyncFolderOf("/no/such/folder/file"));
}

}  // namespace
