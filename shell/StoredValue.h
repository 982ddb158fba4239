// The values of a stored form as the form reader hands them to components, and the helpers that
// turn them into the types of a component's properties.
//
// How a component takes its stored properties
// -------------------------------------------
// The reader creates each component by class name (RegisterComponentClass, shell/FormReader.h)
// and calls, for every property line of its object, in file order:
//
//     bool SetStoredProperty(const std::string& name, const TStoredValue& value, std::string& error)
//
// An override compares `name` (exact spelling; a dotted name like "Display.Width" or
// "Joystick.ID" arrives whole), converts `value` with one of the helpers below and stores it,
// and returns true. If the value does not fit, it returns false with `error` saying why ("expects
// an integer from 0 to 255"); the reader adds the file, the line and the property. Every other
// name goes to the base class; TComponent returns false with an empty `error`, which the reader
// reports as an unknown property. While properties are set, the component is in the loading
// state (Loading() is true), so setters can defer their effects to Loaded().
//
//     bool TDXTimer::SetStoredProperty(const std::string& name, const TStoredValue& value,
//                                      std::string& error) {
//       if (name == "Interval") {
//         std::int64_t v;
//         if (!StoredInteger(value, v, INT32_MIN, UINT32_MAX, error)) return false;
//         SetInterval(static_cast<DWORD>(v));
//         return true;
//       }
//       if (name == "OnTimer") return StoredEvent(value, OnTimer, error);
//       return TCustomDXTimer::SetStoredProperty(name, value, error);
//     }
//
// Kinds of value, as written in the file:
//   integer      42, -7, $FF                        StoredInteger, StoredColor
//   float        1.5, 2e3                           StoredFloat (integers are accepted too)
//   string       'It''s', 'a'#13#10'b', 'x' + 'y'   StoredString
//   identifier   True, bsNone, clFuchsia, DXDraw    StoredBoolean, StoredIdentifier, StoredColor,
//                                                   StoredEvent (a handler), StoredReference
//   set          [doFullScreen, doFlip]             StoredSet
//   binary       { 0A1B 2C... } or Resource('name') StoredBinary; Resource names a file embedded
//                                                   in the program (shell/Resources.h)
//   collection   < item Name = 'Ship' end ... >     value.Items: each item a list of properties,
//                                                   each with its own line, to apply to the
//                                                   collection's items the same way.
//
// Events: the root form offers its handlers by name (TForm::DefineHandler("DXTimerTimer",
// TDXTimerEvent(...))). StoredEvent(value, field, error) looks the identifier up there and
// assigns it when the handler's std::function type is exactly the field's type.
//
// References: StoredReference<TDXDraw>(value, [this](TDXDraw* d) { FDXDraw = d; }, error) accepts
// an identifier and applies it once every component of the form exists (or "nil" for none); an
// unknown name or a component of another class is reported then, with this property's line.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TComponent;

enum TStoredKind { skInteger, skFloat, skString, skIdentifier, skSet, skBinary, skCollection };

struct TStoredProperty;

// One item of a collection: its properties in file order.
struct TStoredItem {
  int Line = 0;
  std::vector<TStoredProperty> Properties;
};

// What the reader needs from a component to resolve names: implemented by the reader.
class TStoredContext {
 public:
  virtual ~TStoredContext() = default;
  // The root's handler of that name, or nullptr.
  virtual const std::any* FindHandler(const std::string& name) const = 0;
  // Resolves `name` to a component once all exist, then calls apply (which may refuse with an
  // error). nil gives nullptr.
  virtual void AddFixup(const std::string& name, int line,
                        std::function<bool(TComponent*, std::string& error)> apply) = 0;
};

struct TStoredValue {
  TStoredKind Kind = skInteger;
  int Line = 0;
  std::int64_t Integer = 0;
  double Float = 0;
  std::string Text;  // the string, the identifier
  std::vector<std::string> Set;
  std::vector<std::uint8_t> Binary;
  std::vector<TStoredItem> Items;
  TStoredContext* Context = nullptr;  // set by the reader
  std::string Property;               // the property's name, for fix-up errors
};

struct TStoredProperty {
  std::string Name;
  int Line = 0;
  TStoredValue Value;
};

// Conversions. Each returns false with `error` set when the value is of another kind or out of
// range.
bool StoredInteger(const TStoredValue& value, std::int64_t& out, std::int64_t min, std::int64_t max,
                   std::string& error);
bool StoredFloat(const TStoredValue& value, double& out, std::string& error);
bool StoredBoolean(const TStoredValue& value, bool& out, std::string& error);
bool StoredString(const TStoredValue& value, std::string& out, std::string& error);
bool StoredIdentifier(const TStoredValue& value, std::string& out, std::string& error);
bool StoredSet(const TStoredValue& value, std::vector<std::string>& out, std::string& error);
bool StoredBinary(const TStoredValue& value, std::vector<std::uint8_t>& out, std::string& error);
// A colour: a number ($00BBGGRR) or one of the named colours (clBlack, clFuchsia, ...).
bool StoredColor(const TStoredValue& value, std::int32_t& out, std::string& error);
// One of `names` (exact spelling); out is its index.
bool StoredEnum(const TStoredValue& value, const std::vector<std::string>& names, int& out,
                std::string& error);

template <class TEvent>
bool StoredEvent(const TStoredValue& value, TEvent& out, std::string& error) {
  std::string name;
  if (!StoredIdentifier(value, name, error)) return false;
  const std::any* handler = value.Context ? value.Context->FindHandler(name) : nullptr;
  if (!handler) {
    error = "unknown handler '" + name + "'";
    return false;
  }
  const TEvent* typed = std::any_cast<TEvent>(handler);
  if (!typed) {
    error = "handler '" + name + "' does not fit this event";
    return false;
  }
  out = *typed;
  return true;
}

template <class T>
bool StoredReference(const TStoredValue& value, std::function<void(T*)> apply, std::string& error) {
  std::string name;
  if (!StoredIdentifier(value, name, error)) return false;
  if (!value.Context) {
    error = "no form to find '" + name + "' in";
    return false;
  }
  value.Context->AddFixup(name, value.Line, [apply](TComponent* c, std::string& err) {
    T* typed = dynamic_cast<T*>(c);
    if (c && !typed) {
      err = "is not of the class this property needs";
      return false;
    }
    apply(typed);
    return true;
  });
  return true;
}
