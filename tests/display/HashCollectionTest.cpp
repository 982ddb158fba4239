// The name hash and the bucket chains of a hash collection.
#include <gtest/gtest.h>

#include "display/HashCollection.h"

TEST(NameHash, IsLengthTimesSixteenPlusTwoLowerCaseCharacters) {
  EXPECT_EQ(NameHash("Ship2"), 51);
  EXPECT_EQ(NameHash("SHIP2"), 51);
  EXPECT_EQ(NameHash("A"), 16);
  EXPECT_EQ(NameHash(""), 0);
}

TEST(HashCollection, RenamingRelinksAndFreeingKeepsPositions) {
  THashCollection c;
  auto* a = new THashCollectionItem(&c);
  auto* b = new THashCollectionItem(&c);
  auto* d = new THashCollectionItem(&c);
  a->SetName("Ship1");
  b->SetName("Ship2");
  d->SetName("Ship1");  // the same name again: the one named last is found
  EXPECT_EQ(c.NameIndex("ship1"), 2);
  EXPECT_EQ(c.NameIndex("SHIP2"), 1);
  d->SetName("Flame");
  EXPECT_EQ(c.NameIndex("Ship1"), 0);
  EXPECT_EQ(c.NameIndex("Flame"), 2);
  delete a;  // later items move down one position
  EXPECT_EQ(b->Index(), 0);
  EXPECT_EQ(c.NameIndex("Flame"), 1);
  EXPECT_EQ(c.NameIndex("Ship1"), -1);
}
