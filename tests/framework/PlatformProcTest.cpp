// Platform libraries by name: loaded once, found in any letter case, and the error for a
// missing library or function.
#include "framework/PlatformProc.h"

#include <gtest/gtest.h>

namespace {

int FirstFunction() { return 1; }
int SecondFunction() { return 2; }

class PlatformProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UnloadLibraries();
    RegisterLibrary("Fake.dll", {{"First", reinterpret_cast<FARPROC>(&FirstFunction)},
                                 {"Second", reinterpret_cast<FARPROC>(&SecondFunction)}});
  }
  void TearDown() override {
    UnloadLibraries();
    UnregisterLibrary("Fake.dll");
  }

  static std::string ErrorOf(const std::string& library, const std::string& proc) {
    try {
      PlatformProc(library, proc);
    } catch (const EDirectXError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(PlatformProcTest, LoadsEachLibraryOnceWhateverTheLetterCase) {
  EXPECT_EQ(PlatformProc("Fake.dll", "First"), reinterpret_cast<FARPROC>(&FirstFunction));
  EXPECT_EQ(PlatformProc("FAKE.DLL", "Second"), reinterpret_cast<FARPROC>(&SecondFunction));
  EXPECT_EQ(LibraryLoadCount("Fake.dll"), 1);
  ASSERT_EQ(LoadedLibraries().size(), 1u);
  EXPECT_EQ(LoadedLibraries()[0].first, "fake.dll");
  UnloadLibraries();
  EXPECT_EQ(LibraryLoadCount("Fake.dll"), 0);
  EXPECT_TRUE(LoadedLibraries().empty());
}

TEST_F(PlatformProcTest, MissingLibraryAndMissingFunctionGiveTheLibrarysName) {
  EXPECT_EQ(ErrorOf("D3DRM.dll", "Direct3DRMCreate"), "D3DRM.dll not loaded");
  EXPECT_TRUE(LoadedLibraries().empty()) << "a failed load is not remembered";
  EXPECT_EQ(ErrorOf("Fake.dll", "Third"), "Fake.dll not loaded");
  EXPECT_EQ(LoadedLibraries().size(), 1u) << "the library itself did load";

  SetLibraryAvailable("Fake.dll", false);
  UnloadLibraries();
  EXPECT_EQ(ErrorOf("Fake.dll", "First"), "Fake.dll not loaded");
  SetLibraryAvailable("Fake.dll", true);
  EXPECT_EQ(ErrorOf("Fake.dll", "First"), "") << "a later call tries again";
}

}  // namespace
