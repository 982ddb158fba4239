// THashCollection: a collection of named items found by name through a 256-bucket hash.
#pragma once

#include <string>
#include <vector>

class THashCollection;

// One named item of a hash collection. It caches its position in the collection and sits in the
// chain of the bucket its name hashes to; renaming moves it to the head of its new bucket.
class THashCollectionItem {
 public:
  // Appends the item to the collection (which then owns it), in bucket 0 with an empty name.
  explicit THashCollectionItem(THashCollection* collection);
  // Unlinks the item and moves every later item one position down.
  virtual ~THashCollectionItem();
  THashCollectionItem(const THashCollectionItem&) = delete;
  THashCollectionItem& operator=(const THashCollectionItem&) = delete;

  const std::string& Name() const { return FName; }
  // A different name (compared case-sensitively) relinks the item at the head of its new bucket.
  void SetName(const std::string& value);
  // The cached position in the collection.
  int Index() const { return FIndex; }
  THashCollection* Collection() const { return FCollection; }

 private:
  friend class THashCollection;
  void Link();
  void Unlink();

  THashCollection* FCollection;
  std::string FName;
  int FIndex = 0;
  int FHash = 0;
  THashCollectionItem* FPrevious = nullptr;
  THashCollectionItem* FNext = nullptr;
};

// The 8-bit hash of a name: 16 times its length plus, for two characters or more, the codes of
// the first and the second-to-last character of the lower-cased name, modulo 256.
int NameHash(const std::string& name);

// Items in order, owned, and 256 bucket chains over their names.
class THashCollection {
 public:
  THashCollection() = default;
  virtual ~THashCollection();
  THashCollection(const THashCollection&) = delete;
  THashCollection& operator=(const THashCollection&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  THashCollectionItem* GetItem(int index) const { return FItems[index]; }
  // Frees every item.
  void Clear();
  // The position of the item with that name (letter case ignored), or -1. Among items of one
  // name, the one named last is found.
  int NameIndex(const std::string& name) const;

 private:
  friend class THashCollectionItem;
  std::vector<THashCollectionItem*> FItems;
  THashCollectionItem* FBuckets[256] = {};
};

// Lower-case comparison of two names (the names are plain ASCII).
bool SameText(const std::string& a, const std::string& b);
