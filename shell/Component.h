// The component base: ownership, names, the loading state, and the stored-property interface.
#pragma once

#include <any>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/Object.h"

struct TStoredValue;

// The states a component passes through while its form is read.
enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,     // from creation by the form reader until Loaded
  csReading = 1u << 1,     // while its stored properties are being set
  csDestroying = 1u << 2,  // inside the destructor
  csDesigning = 1u << 3,   // never set: there is no design time in this program
};

// A component: something a form owns and the stored form describes. An owner frees the
// components it owns, the last created first. A component is named; the form reader creates it
// through the class registry, sets its stored properties through SetStoredProperty, and calls
// Loaded once every component of the form has its properties.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::vector<TComponent*>& Components() const { return FComponents; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* FindComponent(const std::string& name) const;

  std::string Name;
  std::intptr_t Tag = 0;
  unsigned ComponentState = 0;  // TComponentStateFlag bits
  bool Loading() const { return ComponentState & (csLoading | csReading); }
  bool Designing() const { return false; }

  // Called once after the form and every stored property have been read; ends the loading state.
  virtual void Loaded();

  // The stored-property interface (see shell/StoredValue.h). Sets the property `name` (dotted
  // names such as "Display.Width" arrive whole) from a stored value. Returns true when the
  // property was set; false with `error` saying why when the value does not fit; false with an
  // empty `error` when the class has no such property. An override handles its own properties
  // and hands every other name to its base class. TComponent itself knows "Tag".
  virtual bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error);

  // What a component at the root of a stored form offers: its event handlers by name (an std::any
  // holding the handler's exact std::function type), and its fields for the components it holds.
  // The base offers nothing.
  virtual const std::any* FindStoredHandler(const std::string& name) const;
  // Binds the field named `name` to `component`. Returns false if there is no such field; sets
  // `error` if there is one but the component's class does not fit it.
  virtual bool BindStoredField(const std::string& name, TComponent* component, std::string& error);

 private:
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;  // owned, in creation order
};

// The class name of an object as written in the source ("TDXTimer").
std::string ClassNameOf(const TObject& object);
