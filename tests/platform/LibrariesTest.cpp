// The built-in library registry.
#include <gtest/gtest.h>

#include "platform/Libraries.h"

namespace {
int Answer() { return 42; }
}

TEST(Libraries, LoadsByNameIgnoringCaseAndCountsLoads) {
  RegisterLibrary("Fake.dll", {{"Answer", reinterpret_cast<FARPROC>(&Answer)}});
  HMODULE a = LoadLibraryA("fake.DLL");
  HMODULE b = LoadLibraryA("FAKE.dll");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(LibraryLoadCount("Fake.dll"), 2);
  auto f = reinterpret_cast<int (*)()>(GetProcAddress(a, "Answer"));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f(), 42);
  EXPECT_EQ(GetProcAddress(a, "answer"), nullptr);  // function names keep their case
  EXPECT_TRUE(FreeLibrary(a));
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_FALSE(FreeLibrary(b));  // one free too many is refused, not counted below zero
  EXPECT_EQ(GetProcAddress(a, "Answer"), nullptr);  // unloaded: nothing to find
}

TEST(Libraries, MissingOrUnavailableLibrariesDoNotLoad) {
  EXPECT_EQ(LoadLibraryA("D3DRM.dll"), nullptr);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  RegisterLibrary("Gone.dll", {});
  SetLibraryAvailable("Gone.dll", false);
  EXPECT_EQ(LoadLibraryA("Gone.dll"), nullptr);
  SetLibraryAvailable("Gone.dll", true);
  HMODULE g = LoadLibraryA("Gone.dll");
  EXPECT_NE(g, nullptr);
  EXPECT_EQ(GetProcAddress(g, "Anything"), nullptr);
  FreeLibrary(g);
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&g)));  // not a library at all
}
