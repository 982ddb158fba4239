// The player's folders: the XDG rule takes only absolute paths.
#include "system/UserFolders.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct TFolderCase {
  const char* XdgDataHome;
  const char* Home;
  const char* Expected;  // "" when there is no folder
};

void PrintTo(const TFolderCase& c, std::ostream* out) {
  *out << "XDG_DATA_HOME=" << (c.XdgDataHome ? c.XdgDataHome : "(unset)")
       << " HOME=" << (c.Home ? c.Home : "(unset)");
}

class XdgGameFolderTest : public ::testing::TestWithParam<TFolderCase> {};

TEST_P(XdgGameFolderTest, TakesOnlyAbsolutePaths) {
  const TFolderCase& c = GetParam();
  std::string reason;
  EXPECT_EQ(XdgGameFolder(c.XdgDataHome, c.Home, ".local/share", "XDG_DATA_HOME", reason), c.Expected);
  EXPECT_EQ(reason.empty(), *c.Expected != '\0') << reason;
}

INSTANTIATE_TEST_SUITE_P(
    Environments, XdgGameFolderTest,
    ::testing::Values(TFolderCase{"/data", "/home/p", "/data/tarnyx/"},
                      TFolderCase{"/data/", "/home/p", "/data/tarnyx/"},
                      TFolderCase{nullptr, "/home/p", "/home/p/.local/share/tarnyx/"},
                      TFolderCase{"", "/home/p/", "/home/p/.local/share/tarnyx/"},
                      // a relative XDG_DATA_HOME is ignored, as if unset
                      TFolderCase{"data", "/home/p", "/home/p/.local/share/tarnyx/"},
                      TFolderCase{"./data", nullptr, ""},
                      // an empty or relative HOME is no home: not "/.local/share/tarnyx/"
                      TFolderCase{nullptr, "", ""}, TFolderCase{nullptr, "p", ""},
                      TFolderCase{nullptr, nullptr, ""}, TFolderCase{"/", nullptr, "/tarnyx/"}));

TEST(XdgGameFolder, PutsTheConfigurationBelowDotConfig) {
  std::string reason;
  EXPECT_EQ(XdgGameFolder("/cfg/", "/home/p", ".config", "XDG_CONFIG_HOME", reason), "/cfg/tarnyx/");
  EXPECT_EQ(XdgGameFolder("cfg", "/home/p/", ".config", "XDG_CONFIG_HOME", reason),
            "/home/p/.config/tarnyx/");
  EXPECT_TRUE(reason.empty());
}

TEST(XdgGameFolder, SaysWhichVariablesNamedNoFolder) {
  std::string reason;
  EXPECT_EQ(XdgGameFolder(nullptr, "", ".config", "XDG_CONFIG_HOME", reason), "");
  EXPECT_EQ(reason, "neither XDG_CONFIG_HOME nor HOME names a folder");
  EXPECT_EQ(XdgGameFolder(nullptr, "/home/p", ".config", "XDG_CONFIG_HOME", reason), "/home/p/.config/tarnyx/");
}

}  // namespace
