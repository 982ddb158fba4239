// libFuzzer target: the bitmap reader must refuse or read any bytes, never crash or overrun.
#include <cstddef>
#include <cstdint>

#include "display/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    TPicture picture;
    picture.LoadFromData(data, size);
    if (const TDIB* dib = picture.Graphic(); dib && !dib->Empty()) {
      // Expand the pixels and look colours up along the edges and in a corner block, so that
      // run-length expansion and every depth's layout run without a huge picture costing seconds.
      std::uint32_t sum = dib->Bits().back();
      for (int y = 0; y < dib->Height && y < 64; ++y)
        for (int x = 0; x < dib->Width && x < 64; ++x) sum += dib->PixelColor(x, y);
      sum += dib->PixelColor(dib->Width - 1, dib->Height - 1);
      volatile std::uint32_t sink = sum;
      (void)sink;
    }
  } catch (const EInvalidGraphic&) {
  } catch (const EInvalidGraphicOperation&) {
  }
  return 0;
}
