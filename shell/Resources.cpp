// The table of embedded files.
#include "shell/Resources.h"

#include <map>

namespace {
std::map<std::string, std::span<const std::uint8_t>, std::less<>>& Table() {
  static std::map<std::string, std::span<const std::uint8_t>, std::less<>> table;
  return table;
}
}  // namespace

std::span<const std::uint8_t> FindResource(std::string_view name) {
  auto it = Table().find(name);
  return it == Table().end() ? std::span<const std::uint8_t>() : it->second;
}

std::vector<std::string> ResourceNames() {
  std::vector<std::string> names;
  for (auto& entry : Table()) names.push_back(entry.first);
  return names;
}

void RegisterResource(std::string_view name, const std::uint8_t* data, std::size_t size) {
  Table()[std::string(name)] = std::span<const std::uint8_t>(data, size);
}
