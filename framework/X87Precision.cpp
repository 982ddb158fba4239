// The x87 control word: read with fnstcw, loaded with fldcw.
#include "framework/X87Precision.h"

#include "framework/Extended.h"

#ifdef TARNYX_HARDWARE_EXTENDED
bool TX87Precision::InUse() { return true; }

std::uint16_t TX87Precision::Read() {
  std::uint16_t word;
  __asm__ volatile("fnstcw %0" : "=m"(word));
  return word;
}

void TX87Precision::Write(std::uint16_t word) { __asm__ volatile("fldcw %0" : : "m"(word)); }
#else
// The software type computes the same numbers whatever the hardware's settings.
bool TX87Precision::InUse() { return false; }
std::uint16_t TX87Precision::Read() { return 0; }
void TX87Precision::Write(std::uint16_t) {}
#endif

bool TX87Precision::SetForGame() {
  if (!InUse()) return true;
  Write(ForGame(Read()));
  return IsForGame(Read());
}
