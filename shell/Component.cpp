// The component base.
#include "shell/Component.h"

#include <algorithm>
#include <typeinfo>

#include "shell/Exception.h"
#include "shell/StoredValue.h"

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
  ComponentState |= csDestroying;
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    FComponents.pop_back();
    last->FOwner = nullptr;
    delete last;
  }
  if (FOwner) std::erase(FOwner->FComponents, this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : FComponents)
    if (c->Name == name) return c;
  return nullptr;
}

void TComponent::Loaded() { ComponentState &= ~csLoading; }

bool TComponent::SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error) {
  if (name == "Tag") {
    std::int64_t tag = 0;
    if (!StoredInteger(value, tag, INT32_MIN, INT32_MAX, error)) return false;
    Tag = static_cast<std::intptr_t>(tag);
    return true;
  }
  error.clear();
  return false;
}

const std::any* TComponent::FindStoredHandler(const std::string&) const { return nullptr; }

bool TComponent::BindStoredField(const std::string&, TComponent*, std::string&) { return false; }

std::string ClassNameOf(const TObject& object) { return DemangledName(typeid(object).name()); }
