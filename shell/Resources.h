// Files embedded in the program at build time, found by name: the stored form, the pictures.
// The build compiles them in (cmake/EmbedAssets.cmake, cmake/EmbedPictures.cmake) and registers
// them at start-up; the game reads no file at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The bytes embedded under that name; an empty span if there is none.
std::span<const std::uint8_t> FindResource(std::string_view name);

// The names of every embedded file, sorted.
std::vector<std::string> ResourceNames();

// Adds (or replaces) a resource. The generated embedding code calls it at program start; tests
// may add their own. The bytes must outlive the program's use of them.
void RegisterResource(std::string_view name, const std::uint8_t* data, std::size_t size);
