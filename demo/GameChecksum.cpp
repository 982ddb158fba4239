// The checksum of the game's state.
#include "demo/GameChecksum.h"

#include <string>

#include "demo/DemoChecksum.h"
#include "game/GameState.h"

namespace {

// Adds every value of the state by its exact bits, as its type has them. A table entry that holds
// no object yet counts as one byte 0, an object as 1 and its members; a list counts its length
// first, as 32 bits.
struct TChecksumVisitor {
  TDemoChecksum& Sum;

  void Field(const char*, std::uint8_t v) { Sum.Byte(v); }
  void Field(const char*, std::uint16_t v) { Sum.U16(v); }
  void Field(const char*, std::uint32_t v) { Sum.U32(v); }
  void Field(const char*, std::int32_t v) { Sum.I32(v); }
  void Field(const char*, float v) { Sum.Single(v); }
  void Field(const char*, double v) { Sum.Double(v); }
  void Field(const char*, bool v) { Sum.Bool(v); }
  void Field(const char*, const std::string& v) { Sum.String(v); }
  void Count(const char*, std::uint8_t count) { Sum.Byte(count); }
  template <typename Visit>
  void Record(const char*, Visit visit) {
    visit();
  }
  template <typename T, typename Visit>
  void Entry(const char*, T* object, Visit visit) {
    Sum.Bool(object != nullptr);
    if (object) visit(*object);
  }
  template <typename Visit>
  void Array(const char*, std::size_t count, Visit visit) {
    for (std::size_t i = 0; i < count; ++i) visit(i);
  }
  template <typename T, typename Visit>
  void List(const char*, std::vector<T>& items, Visit visit) {
    Sum.U32(static_cast<std::uint32_t>(items.size()));
    for (T& item : items) visit(item);
  }
};

}  // namespace

std::uint64_t GameStateChecksum(std::uint64_t inputDigest) {
  TDemoChecksum sum;
  TChecksumVisitor visitor{sum};
  VisitGameState(visitor);
  sum.U64(inputDigest);
  return sum.Value;
}
