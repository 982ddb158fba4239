// The information panel: how it slides, and what it shows.
#include <gtest/gtest.h>

#include "game/Main.h"

TEST(InfoPanel, SlidesFullyInOverNinetyFiveFramesAndOutAgain) {
  TPlanet p;
  ASSERT_EQ(p.PanelSlide, 0);
  EXPECT_TRUE(p.SlidePanel(true));
  EXPECT_EQ(p.PanelSlide, 5);  // the frame of the first touch-down already shows a sliver
  for (int i = 2; i <= 95; ++i) p.SlidePanel(true);
  EXPECT_EQ(p.PanelSlide, 475);
  p.SlidePanel(true);
  EXPECT_EQ(p.PanelSlide, 475);
  for (int i = 1; i < 95; ++i) EXPECT_TRUE(p.SlidePanel(false));
  EXPECT_EQ(p.PanelSlide, 5);
  EXPECT_FALSE(p.SlidePanel(false));
  EXPECT_EQ(p.PanelSlide, 0);
  EXPECT_FALSE(p.SlidePanel(false));
  EXPECT_EQ(p.PanelSlide, 0);
}

TEST(InfoPanel, ShowsThePopulationInPeople) {
  TPlanet p;
  p.Population = 747;
  EXPECT_EQ(p.PopulationText(), "35762625");
  p.Population = 1;
  EXPECT_EQ(p.PopulationText(), "47875");
}
