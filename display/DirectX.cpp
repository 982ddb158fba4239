// The display unit's message texts.
#include "display/DirectX.h"

std::string SCannotInitialized(const std::string& what) { return what + " cannot be initialized"; }
std::string SNotMade(const std::string& what) { return what + " not made"; }
std::string SCannotMade(const std::string& what) { return what + " cannot be made"; }
const char* const SSinceDirectX6 = "Necessary since DirectX 6";
const char* const SInvalidDisplayBitCount = "It should be either of 8 or 16 or 24 or 32";
