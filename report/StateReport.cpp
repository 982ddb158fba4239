// Writing the game's state as JSON.
#include "report/StateReport.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/GameState.h"

namespace {

// Where the report puts members: the report's layout is older than the one description of the
// state and its readers rely on it, so the objects named here keep their members in this order.
// A member the layout does not name follows those it names, in the order visited, so that a new
// member of the state is always written.
struct TLayout {
  std::string_view Object;  // the member that holds the object; "" for the state itself
  std::initializer_list<std::string_view> Members;
};
const TLayout Layouts[] = {
    {"", {"RandomState", "CurrentPlanet", "Player", "Planets", "Stars", "Explosions", "Messages"}},
    {"Player", {"Heading", "X", "Y", "VX", "VY", "Hull", "Landed", "Ship"}},
};

// One object or array being written: an array's items are written as they come, an object's
// members are kept until it ends, to be put in its layout's order.
struct TOpen {
  bool Object;
  std::string Name;                                         // of the member that holds it; "" in an array
  std::string Items;                                        // an array's, comma-separated
  std::vector<std::pair<std::string, std::string>> Members;  // an object's: name, JSON text
};

class TReportVisitor {
 public:
  void Field(const char* name, std::uint8_t v) { Put(name, Number(v)); }
  void Field(const char* name, std::uint16_t v) { Put(name, Number(v)); }
  void Field(const char* name, std::uint32_t v) { Put(name, Number(v)); }
  void Field(const char* name, std::int32_t v) { Put(name, Number(v)); }
  void Field(const char* name, float v) { Put(name, Text([v](TJsonWriter& j) { j.Single(v); })); }
  void Field(const char* name, double v) { Put(name, Text([v](TJsonWriter& j) { j.Double(v); })); }
  void Field(const char* name, bool v) { Put(name, v ? "true" : "false"); }
  void Field(const char* name, const std::string& v) {
    Put(name, Text([&v](TJsonWriter& j) { j.String(v); }));
  }
  // The array that follows says how many: the count is not written.
  void Count(const char*, std::uint8_t) {}

  template <typename Visit>
  void Record(const char* name, Visit visit) {
    Begin(true, name);
    visit();
    End();
  }
  template <typename T, typename Visit>
  void Entry(const char* name, T* object, Visit visit) {
    if (!object) return Put(name, "null");
    Begin(true, name);
    visit(*object);
    End();
  }
  template <typename Visit>
  void Array(const char* name, std::size_t count, Visit visit) {
    Begin(false, name);
    for (std::size_t i = 0; i < count; ++i) visit(i);
    End();
  }
  template <typename T, typename Visit>
  void List(const char* name, std::vector<T>& items, Visit visit) {
    Begin(false, name);
    for (T& item : items) visit(item);
    End();
  }

  // The state's members, once every one has been visited.
  std::vector<std::pair<std::string, std::string>> Members() {
    return Ordered(FOpen.back());
  }

  TReportVisitor() { FOpen.push_back({true, "", "", {}}); }  // the state itself

 private:
  static std::string Number(std::int64_t v) { return std::to_string(v); }
  template <typename Write>
  static std::string Text(Write write) {
    std::string text;
    TJsonWriter json(text);
    write(json);
    return text;
  }

  void Begin(bool object, const char* name) { FOpen.push_back({object, name ? name : "", "", {}}); }

  void End() {
    TOpen done = std::move(FOpen.back());
    FOpen.pop_back();
    std::string text;
    if (done.Object) {
      TJsonWriter json(text);
      json.BeginObject();
      for (auto& [name, value] : Ordered(done)) json.Key(name).Raw(value);
      json.EndObject();
    } else {
      text = "[" + done.Items + "]";
    }
    Put(done.Name.empty() ? nullptr : done.Name.c_str(), std::move(text));
  }

  void Put(const char* name, std::string text) {
    TOpen& into = FOpen.back();
    if (into.Object) {
      into.Members.emplace_back(name ? name : "", std::move(text));
    } else {
      if (!into.Items.empty()) into.Items += ',';
      into.Items += text;
    }
  }

  // The members of an object in its layout's order, then the rest as visited.
  std::vector<std::pair<std::string, std::string>> Ordered(TOpen& object) {
    // The state itself is the one object without a name outside an array.
    const bool state = &object == &FOpen.front();
    const TLayout* layout = nullptr;
    for (const TLayout& l : Layouts)
      if (state ? l.Object.empty() : !object.Name.empty() && l.Object == object.Name) layout = &l;
    if (!layout) return std::move(object.Members);
    std::vector<std::pair<std::string, std::string>> ordered;
    for (std::string_view name : layout->Members) {
      auto found = std::find_if(object.Members.begin(), object.Members.end(),
                                [name](const auto& m) { return m.first == name; });
      if (found == object.Members.end()) continue;
      ordered.push_back(std::move(*found));
      object.Members.erase(found);
    }
    for (auto& m : object.Members) ordered.push_back(std::move(m));
    return ordered;
  }

  std::vector<TOpen> FOpen;
};

}  // namespace

void WriteGameStateMembers(TJsonWriter& json) {
  TReportVisitor visitor;
  VisitGameState(visitor);
  for (auto& [name, value] : visitor.Members()) json.Key(name).Raw(value);
}

void WriteGameState(TJsonWriter& json) {
  json.BeginObject();
  WriteGameStateMembers(json);
  json.EndObject();
}
