// The stored-form reader: a parser into a tree of objects, then the building of the components.
#include "shell/FormReader.h"

#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <vector>

#include "shell/Component.h"
#include "shell/Control.h"
#include "shell/Exception.h"
#include "shell/FromChars.h"
#include "shell/Resources.h"
#include "shell/StoredValue.h"

namespace {

std::map<std::string, TComponentFactory>& Registry() {
  static std::map<std::string, TComponentFactory> registry;
  return registry;
}

// Deeper nesting than this is refused, so that no input can exhaust the stack.
constexpr int kMaxDepth = 32;

// One object of the text.
struct TStoredObject {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  std::vector<TStoredProperty> Properties;
  std::vector<TStoredObject> Children;
};

bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }
bool HexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (std::tolower(static_cast<unsigned char>(c)) - 'a') + 10;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Parses the text; every error throws EReadError with the file and the line.
class TParser {
 public:
  TParser(std::string_view text, const std::string& fileName) : FText(text), FFile(fileName) {}

  TStoredObject ParseFile() {
    SkipSpace();
    TStoredObject root = ParseObject(0);
    SkipSpace();
    if (!AtEnd()) Fail("unexpected text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { FailAt(FLine, message); }
  [[noreturn]] void FailAt(int line, const std::string& message) const {
    throw EReadError(FFile + ":" + std::to_string(line) + ": " + message);
  }

  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }

  void SkipSpace() {
    while (!AtEnd()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
      } else if (!std::isspace(static_cast<unsigned char>(c))) {
        break;
      }
      ++FPos;
    }
  }

  std::string Identifier(const char* what) {
    SkipSpace();
    if (!IdentStart(Peek())) Fail(std::string("expected ") + what);
    size_t start = FPos;
    while (!AtEnd() && IdentChar(FText[FPos])) ++FPos;
    return std::string(FText.substr(start, FPos - start));
  }

  void Expect(char c, const char* what) {
    SkipSpace();
    if (Peek() != c) Fail(std::string("expected ") + what);
    ++FPos;
  }

  // object <Name>: <Class> { <property> | <object> } end
  TStoredObject ParseObject(int depth) {
    if (depth > kMaxDepth) Fail("objects nested too deeply");
    TStoredObject object;
    object.Line = FLine;
    std::string keyword = Identifier("'object'");
    if (!SameWord(keyword, "object")) Fail("expected 'object', found '" + keyword + "'");
    object.Name = Identifier("the object's name");
    Expect(':', "':' after the object's name");
    object.ClassName = Identifier("the object's class");
    for (;;) {
      SkipSpace();
      if (AtEnd()) FailAt(object.Line, "object " + object.Name + " has no 'end'");
      size_t save = FPos;
      int saveLine = FLine;
      std::string word = Identifier("a property, 'object' or 'end'");
      if (SameWord(word, "end")) return object;
      if (SameWord(word, "object")) {
        FPos = save;
        FLine = saveLine;
        object.Children.push_back(ParseObject(depth + 1));
        continue;
      }
      object.Properties.push_back(ParseProperty(word, saveLine, depth));
    }
  }

  TStoredProperty ParseProperty(const std::string& name, int line, int depth) {
    TStoredProperty property;
    property.Name = name;
    property.Line = line;
    Expect('=', ("'=' after " + name).c_str());
    property.Value = ParseValue(name, depth);
    property.Value.Line = line;
    return property;
  }

  TStoredValue ParseValue(const std::string& property, int depth) {
    SkipSpace();
    if (AtEnd()) Fail("the value of " + property + " is missing");
    TStoredValue value;
    value.Line = FLine;
    char c = Peek();
    if (c == '\'' || c == '#') {
      value.Kind = skString;
      value.Text = ParseString();
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '$') {
      ParseNumber(value);
    } else if (c == '[') {
      value.Kind = skSet;
      ParseSet(value.Set);
    } else if (c == '{') {
      value.Kind = skBinary;
      ParseBinary(value.Binary);
    } else if (c == '<') {
      value.Kind = skCollection;
      ParseCollection(value.Items, depth);
    } else if (IdentStart(c)) {
      value.Kind = skIdentifier;
      value.Text = Identifier("a value");
      SkipSpace();
      if (value.Text == "Resource" && Peek() == '(') ParseResource(value);
    } else {
      Fail(std::string("unexpected '") + c + "' in the value of " + property);
    }
    return value;
  }

  // 'text' and #code pieces, side by side or joined with '+' (also across lines).
  std::string ParseString() {
    std::string text;
    for (;;) {
      SkipSpace();
      char c = Peek();
      if (c == '\'') {
        int line = FLine;
        ++FPos;
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') FailAt(line, "unterminated string");
          char d = FText[FPos++];
          if (d == '\'') {
            if (Peek() == '\'') {
              text += '\'';
              ++FPos;
              continue;
            }
            break;
          }
          text += d;
        }
      } else if (c == '#') {
        ++FPos;
        std::int64_t code = ParseUnsigned("a character code after '#'");
        if (code > 255) Fail("character code #" + std::to_string(code) + " is above 255");
        text += static_cast<char>(code);
      } else if (c == '+') {
        ++FPos;
        SkipSpace();
        if (Peek() != '\'' && Peek() != '#') Fail("expected a string after '+'");
      } else {
        return text;
      }
    }
  }

  // A decimal or $hex number without a sign.
  std::int64_t ParseUnsigned(const char* what) {
    bool hex = Peek() == '$';
    if (hex) ++FPos;
    size_t start = FPos;
    while (!AtEnd() && (hex ? HexDigit(FText[FPos]) : std::isdigit(static_cast<unsigned char>(FText[FPos]))))
      ++FPos;
    if (start == FPos) Fail(std::string("expected ") + what);
    std::uint64_t v = 0;
    auto [ptr, ec] = std::from_chars(FText.data() + start, FText.data() + FPos, v, hex ? 16 : 10);
    if (ec != std::errc() || ptr != FText.data() + FPos || v > static_cast<std::uint64_t>(INT64_MAX))
      Fail("number out of range");
    return static_cast<std::int64_t>(v);
  }

  void ParseNumber(TStoredValue& value) {
    bool negative = Peek() == '-';
    if (Peek() == '-' || Peek() == '+') ++FPos;
    if (Peek() == '$') {
      value.Kind = skInteger;
      std::int64_t v = ParseUnsigned("hex digits after '$'");
      value.Integer = negative ? -v : v;
      return;
    }
    size_t start = FPos;
    while (!AtEnd() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    if (start == FPos) Fail("expected a number");
    bool isFloat = false;
    if (Peek() == '.' && FPos + 1 < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FPos + 1]))) {
      isFloat = true;
      ++FPos;
      while (!AtEnd() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      size_t save = FPos;
      ++FPos;
      if (Peek() == '-' || Peek() == '+') ++FPos;
      if (std::isdigit(static_cast<unsigned char>(Peek()))) {
        isFloat = true;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
      } else {
        FPos = save;
      }
    }
    if (IdentChar(Peek()) && Peek() != '.') Fail("bad number");
    const char* first = FText.data() + start;
    const char* last = FText.data() + FPos;
    if (isFloat) {
      value.Kind = skFloat;
      double v = 0;
      auto [ptr, ec] = FromChars(first, last, v);  // independent of the locale
      if (ec != std::errc() || ptr != last) Fail("number out of range");
      value.Float = negative ? -v : v;
    } else {
      value.Kind = skInteger;
      std::int64_t v = 0;
      auto [ptr, ec] = std::from_chars(first, last, v);
      if (ec != std::errc() || ptr != last) Fail("number out of range");
      value.Integer = negative ? -v : v;
    }
  }

  void ParseSet(std::vector<std::string>& set) {
    int line = FLine;
    ++FPos;  // '['
    SkipSpace();
    if (Peek() == ']') {
      ++FPos;
      return;
    }
    for (;;) {
      SkipSpace();
      if (AtEnd()) FailAt(line, "unterminated set");
      set.push_back(Identifier("a set element"));
      SkipSpace();
      if (Peek() == ']') {
        ++FPos;
        return;
      }
      if (AtEnd()) FailAt(line, "unterminated set");
      if (Peek() != ',') Fail("expected ',' or ']' in a set");
      ++FPos;
    }
  }

  void ParseBinary(std::vector<std::uint8_t>& bytes) {
    int line = FLine;
    ++FPos;  // '{'
    int high = -1;
    for (;;) {
      if (AtEnd()) FailAt(line, "unterminated binary block");
      char c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (std::isspace(static_cast<unsigned char>(c))) continue;
      if (!HexDigit(c)) Fail(std::string("bad character '") + c + "' in a binary block");
      if (high < 0) {
        high = HexValue(c);
      } else {
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + HexValue(c)));
        high = -1;
      }
    }
    if (high >= 0) FailAt(line, "binary block with an odd number of hex digits");
  }

  // Resource('name'): the bytes of an embedded file, as a binary value.
  void ParseResource(TStoredValue& value) {
    ++FPos;  // '('
    SkipSpace();
    if (Peek() != '\'' && Peek() != '#') Fail("expected the resource's name in quotes");
    std::string name = ParseString();
    Expect(')', "')' after the resource's name");
    auto data = FindResource(name);
    if (data.empty()) Fail("no embedded file named '" + name + "'");
    value.Kind = skBinary;
    value.Text.clear();
    value.Binary.assign(data.begin(), data.end());
  }

  // < item <properties> end ... >
  void ParseCollection(std::vector<TStoredItem>& items, int depth) {
    if (depth >= kMaxDepth) Fail("collections nested too deeply");
    int line = FLine;
    ++FPos;  // '<'
    for (;;) {
      SkipSpace();
      if (AtEnd()) FailAt(line, "unterminated collection");
      if (Peek() == '>') {
        ++FPos;
        return;
      }
      TStoredItem item;
      item.Line = FLine;
      std::string word = Identifier("'item' or '>'");
      if (!SameWord(word, "item")) Fail("expected 'item' or '>', found '" + word + "'");
      for (;;) {
        SkipSpace();
        if (AtEnd()) FailAt(item.Line, "item has no 'end'");
        int propertyLine = FLine;
        std::string name = Identifier("a property or 'end'");
        if (SameWord(name, "end")) break;
        item.Properties.push_back(ParseProperty(name, propertyLine, depth + 1));
      }
      items.push_back(std::move(item));
    }
  }

  std::string_view FText;
  const std::string& FFile;
  size_t FPos = 0;
  int FLine = 1;
};

// Builds the components from the parsed tree and resolves the names in it.
class TBuilder : public TStoredContext {
 public:
  TBuilder(TComponent& root, const std::string& fileName) : FRoot(root), FFile(fileName) {}

  void Build(TStoredObject& tree) {
    std::string rootClass = ClassNameOf(FRoot);
    if (tree.ClassName != rootClass)
      Fail(tree.Line, "the stored form describes a " + tree.ClassName + ", not a " + rootClass);
    FRoot.Name = tree.Name;
    FLoading.push_back(&FRoot);
    FRoot.ComponentState |= csLoading | csReading;
    Apply(FRoot, tree);
    BuildChildren(tree, &FRoot);
    for (auto& fixup : FFixups) {
      TComponent* target = nullptr;
      if (fixup.Name != "nil") {
        target = fixup.Name == FRoot.Name ? &FRoot : FRoot.FindComponent(fixup.Name);
        if (!target) Fail(fixup.Line, fixup.Where + ": unknown component '" + fixup.Name + "'");
      }
      std::string error;
      if (!fixup.Apply(target, error)) Fail(fixup.Line, fixup.Where + ": '" + fixup.Name + "' " + error);
    }
    for (TComponent* c : FLoading) c->ComponentState &= ~csReading;
    for (TComponent* c : FLoading) c->Loaded();
  }

  const std::any* FindHandler(const std::string& name) const override { return FRoot.FindStoredHandler(name); }

  void AddFixup(const std::string& name, int line,
                std::function<bool(TComponent*, std::string& error)> apply) override {
    FFixups.push_back(TFixup{name, line, FWhere, std::move(apply)});
  }

 private:
  struct TFixup {
    std::string Name;
    int Line;
    std::string Where;
    std::function<bool(TComponent*, std::string&)> Apply;
  };

  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw EReadError(FFile + ":" + std::to_string(line) + ": " + message);
  }

  void SetContext(TStoredValue& value, const std::string& property) {
    value.Context = this;
    value.Property = property;
    for (auto& item : value.Items)
      for (auto& p : item.Properties) SetContext(p.Value, property + "." + p.Name);
  }

  void Apply(TComponent& component, TStoredObject& object) {
    for (auto& property : object.Properties) {
      FWhere = object.Name + "." + property.Name;
      SetContext(property.Value, property.Name);
      std::string error;
      bool set = false;
      try {
        set = component.SetStoredProperty(property.Name, property.Value, error);
      } catch (const std::exception& e) {
        error = e.what();
      }
      if (!set) Fail(property.Line, FWhere + ": " + (error.empty() ? "unknown property" : error));
    }
  }

  void BuildChildren(TStoredObject& object, TComponent* parent) {
    for (auto& child : object.Children) {
      auto it = Registry().find(child.ClassName);
      if (it == Registry().end()) Fail(child.Line, "unknown class " + child.ClassName);
      if (child.Name == FRoot.Name || FRoot.FindComponent(child.Name))
        Fail(child.Line, "a second component named " + child.Name);
      TComponent* component = it->second(&FRoot);
      if (!component) Fail(child.Line, "class " + child.ClassName + " could not be made");
      component->Name = child.Name;
      component->ComponentState |= csLoading | csReading;
      FLoading.push_back(component);
      auto* control = dynamic_cast<TControl*>(component);
      auto* windowed = dynamic_cast<TWinControl*>(parent);
      if (control && windowed) control->SetParent(windowed);
      std::string error;
      if (FRoot.BindStoredField(child.Name, component, error) && !error.empty()) Fail(child.Line, error);
      Apply(*component, child);
      BuildChildren(child, component);
    }
  }

  TComponent& FRoot;
  const std::string& FFile;
  std::string FWhere;
  std::vector<TComponent*> FLoading;  // the root, then the components in creation order
  std::vector<TFixup> FFixups;
};

}  // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
  Registry()[className] = std::move(factory);
}

bool ComponentClassRegistered(const std::string& className) { return Registry().count(className) != 0; }

void ReadStoredForm(TComponent& root, std::string_view text, const std::string& fileName) {
  TParser parser(text, fileName);
  TStoredObject tree = parser.ParseFile();
  TBuilder builder(root, fileName);
  builder.Build(tree);
}
