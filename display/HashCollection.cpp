// The name-hash collection: bucket chains linked at the head, positions cached per item.
#include "display/HashCollection.h"


namespace {

// The game's names are ASCII letters, digits and underscores, for which every locale lower-cases
// alike; a table look-up keeps the per-frame look-ups cheap.
struct TLowerTable {
  unsigned char Map[256];
  TLowerTable() {
    for (int c = 0; c < 256; ++c) Map[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
};
const TLowerTable LowerTable;

inline unsigned char Lower(char c) { return LowerTable.Map[static_cast<unsigned char>(c)]; }

}  // namespace

int NameHash(const std::string& name) {
  unsigned h = static_cast<unsigned>(name.size()) * 16;
  if (name.size() >= 2) h += Lower(name[0]) + Lower(name[name.size() - 2]);
  return static_cast<int>(h % 256);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

THashCollectionItem::THashCollectionItem(THashCollection* collection) : FCollection(collection) {
  FIndex = static_cast<int>(collection->FItems.size());
  collection->FItems.push_back(this);
  FHash = NameHash(FName);
  Link();
}

THashCollectionItem::~THashCollectionItem() {
  Unlink();
  auto& items = FCollection->FItems;
  items.erase(items.begin() + FIndex);
  for (std::size_t i = FIndex; i < items.size(); ++i) items[i]->FIndex--;
}

void THashCollectionItem::SetName(const std::string& value) {
  if (value == FName) return;
  Unlink();
  FName = value;
  FHash = NameHash(FName);
  Link();
}

void THashCollectionItem::Link() {
  THashCollectionItem*& head = FCollection->FBuckets[FHash];
  FPrevious = nullptr;
  FNext = head;
  if (head) head->FPrevious = this;
  head = this;
}

void THashCollectionItem::Unlink() {
  if (FPrevious)
    FPrevious->FNext = FNext;
  else
    FCollection->FBuckets[FHash] = FNext;
  if (FNext) FNext->FPrevious = FPrevious;
  FPrevious = FNext = nullptr;
}

THashCollection::~THashCollection() { Clear(); }

void THashCollection::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int THashCollection::NameIndex(const std::string& name) const {
  for (const THashCollectionItem* item = FBuckets[NameHash(name)]; item; item = item->FNext)
    if (SameText(item->FName, name)) return item->FIndex;
  return -1;
}
