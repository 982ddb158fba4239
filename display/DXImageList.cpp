// The image list component: the display's listener, and the pictures' stored properties.
#include "display/DXImageList.h"

#include "shell/FormReader.h"
#include "shell/StoredValue.h"

TCustomDXImageList::TCustomDXImageList(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {}

TCustomDXImageList::~TCustomDXImageList() { SetDXDraw(nullptr); }

void TCustomDXImageList::SetDXDraw(TCustomDXDraw* value) {
  if (FDXDraw) FDXDraw->RemoveListener(&DXDrawNotifyEvent, this);
  FDXDraw = value;
  if (FDXDraw) FDXDraw->AddListener(&DXDrawNotifyEvent, this);
}

void TCustomDXImageList::DXDrawNotifyEvent(void* Data, TCustomDXDraw* Sender, TDXDrawNotifyType NotifyType) {
  auto* list = static_cast<TCustomDXImageList*>(Data);
  switch (NotifyType) {
    case dnDestroying:
      list->SetDXDraw(nullptr);
      break;
    case dnInitialize:
      list->FItems->Initialize(Sender);
      break;
    case dnFinalize:
      list->FItems->Finalize();
      break;
    case dnRestore:
      list->FItems->Restore();
      break;
    default:
      break;
  }
}

bool TCustomDXImageList::SetStoredItem(TPictureCollectionItem& item, const TStoredProperty& property,
                                       std::string& error) {
  const std::string& name = property.Name;
  const TStoredValue& value = property.Value;
  std::int64_t number;
  if (name == "Name") {
    std::string text;
    if (!StoredString(value, text, error)) return false;
    item.SetName(text);
    return true;
  }
  if (name == "PatternWidth" || name == "PatternHeight" || name == "SkipWidth" || name == "SkipHeight") {
    if (!StoredInteger(value, number, 0, 1 << 20, error)) return false;
    int& field = name == "PatternWidth"    ? item.PatternWidth
                 : name == "PatternHeight" ? item.PatternHeight
                 : name == "SkipWidth"     ? item.SkipWidth
                                           : item.SkipHeight;
    field = int(number);
    return true;
  }
  if (name == "SystemMemory") return StoredBoolean(value, item.SystemMemory, error);
  if (name == "Transparent") return StoredBoolean(value, item.Transparent, error);
  if (name == "TransparentColor") {
    TColor color;
    if (!StoredColor(value, color, error)) return false;
    item.SetTransparentColor(color);
    return true;
  }
  if (name == "Picture.Data") {
    std::vector<std::uint8_t> bytes;
    if (!StoredBinary(value, bytes, error)) return false;
    try {
      item.Picture.LoadFromData(bytes.data(), bytes.size());
    } catch (const std::exception& e) {
      error = e.what();
      return false;
    }
    return true;
  }
  return false;  // an unknown property: the empty error says so
}

bool TCustomDXImageList::SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) {
  if (name == "DXDraw")
    return StoredReference<TCustomDXDraw>(value, [this](TCustomDXDraw* d) { SetDXDraw(d); }, error);
  if (name == "Items") {
    if (value.Kind != skCollection) {
      error = "expects a collection of pictures";
      return false;
    }
    FItems->Clear();
    for (const TStoredItem& stored : value.Items) {
      TPictureCollectionItem* item = FItems->Add();
      for (const TStoredProperty& property : stored.Properties)
        if (!SetStoredItem(*item, property, error)) {
          // Name the item's property, whose line is not the collection's.
          const std::string why = error.empty() ? "unknown property" : error;
          error = "line " + std::to_string(property.Line) + ", Items." + property.Name + ": " + why;
          return false;
        }
    }
    return true;
  }
  if (name == "ColorTable") {
    std::vector<std::uint8_t> bytes;
    if (!StoredBinary(value, bytes, error)) return false;
    if (bytes.size() != 1024) {
      error = "expects 1024 bytes (256 colours)";
      return false;
    }
    FItems->ColorTable = std::move(bytes);
    return true;
  }
  return TComponent::SetStoredProperty(name, value, error);
}

void RegisterDXImageListClasses() {
  RegisterPictureResources();
  RegisterComponentClass("TDXImageList", [](TComponent* owner) { return new TDXImageList(owner); });
}
