// The game's window icon, decoded from the PNG the build embeds.
#include "app/WindowIcon.h"

#include <string>

extern const unsigned char WindowIconPngData[];
extern const unsigned long WindowIconPngSize;

bool GameWindowIcon(TRgbaPicture& icon) {
  std::string error;
  return DecodePng(WindowIconPngData, WindowIconPngSize, icon, error);
}
