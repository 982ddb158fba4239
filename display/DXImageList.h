// TCustomDXImageList and TDXImageList: the component that holds the game's named pictures.
#pragma once

#include <memory>
#include <string>

#include "display/DXDraw.h"
#include "display/PictureCollection.h"
#include "shell/Component.h"
#include "shell/StoredValue.h"

// The image list: a collection of named pictures that follows the display it serves. When the
// display starts, the pictures are marked initialized; when it restores its surfaces (also at
// the end of its start), every picture is made into surfaces again; when it stops, they are freed.
class TCustomDXImageList : public TComponent {
 public:
  explicit TCustomDXImageList(TComponent* AOwner);
  ~TCustomDXImageList() override;

  TCustomDXDraw* DXDraw() const { return FDXDraw; }
  // Leaves the previous display, if any, and joins this one (which at once reports its state).
  void SetDXDraw(TCustomDXDraw* value);
  TPictureCollection& Items() { return *FItems; }

  bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) override;

 private:
  static void DXDrawNotifyEvent(void* Data, TCustomDXDraw* Sender, TDXDrawNotifyType NotifyType);
  bool SetStoredItem(TPictureCollectionItem& item, const TStoredProperty& property, std::string& error);

  TCustomDXDraw* FDXDraw = nullptr;
  std::unique_ptr<TPictureCollection> FItems;
};

// The image list as the form stores it.
class TDXImageList : public TCustomDXImageList {
 public:
  using TCustomDXImageList::TCustomDXImageList;
};

// Makes TDXImageList known to the stored-form reader, and the pictures the program carries
// known as resources.
void RegisterDXImageListClasses();
