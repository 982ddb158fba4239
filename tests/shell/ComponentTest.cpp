// Components: ownership in creation order, freeing the last-made first, and names.
#include "shell/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class TJournalled : public TComponent {
 public:
  TJournalled(TComponent* owner, std::string name, std::vector<std::string>& journal)
      : TComponent(owner), FJournal(journal) {
    Name = std::move(name);
  }
  ~TJournalled() override { FJournal.push_back(Name); }

 private:
  std::vector<std::string>& FJournal;
};

namespace {

TEST(ComponentTest, OwnerFreesItsComponentsLastMadeFirst) {
  std::vector<std::string> freed;
  auto* owner = new TJournalled(nullptr, "owner", freed);
  new TJournalled(owner, "a", freed);
  auto* b = new TJournalled(owner, "b", freed);
  new TJournalled(owner, "c", freed);
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->FindComponent("b"), b);
  EXPECT_EQ(owner->FindComponent("z"), nullptr);
  delete b;  // leaves its owner's list
  EXPECT_EQ(owner->ComponentCount(), 2);
  delete owner;
  EXPECT_EQ(freed, (std::vector<std::string>{"b", "owner", "c", "a"}));
}

TEST(ComponentTest, ClassNamesAreTheSourceNames) {
  std::vector<std::string> freed;
  TJournalled thing(nullptr, "thing", freed);
  EXPECT_EQ(ClassNameOf(thing), "TJournalled");
  EXPECT_FALSE(thing.Designing());
}

}  // namespace
