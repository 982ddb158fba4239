// libFuzzer target: the bitmap reader must refuse or read any bytes, never crash or overrun, and a
// file judged by its first bytes must read as the whole file does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "display/Picture.h"

namespace {

// The memory limit for the fuzzed pictures. The reader's own limit lets run-length data of a few
// bytes declare 64 MiB of pixels, and filling those for every such input made the target crawl
// (hundreds of inputs a second, hundreds of MB); every check of the reader is as reachable with
// pictures of 64 KiB (a row of 16384 one-bit pixels is 2 KiB), so the fuzzer keeps them that small.
constexpr std::size_t FuzzPixelBytes = 64 << 10;

// Reads the picture and looks at its pixels.
void ReadPicture(const std::uint8_t* data, std::size_t size) {
  TPicture picture;
  picture.LoadFromData(data, size, FuzzPixelBytes);
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
}

// Reading a file by its first bytes (as the headless tool does) must agree with reading all of it:
// a refusal from the first bytes is the whole file's refusal, and when the declared length is all
// there, the file reads, and reads the same from exactly that many bytes. The pixels are not
// expanded here, so pictures of any declared size cost nothing.
void ReadFileByItsHead(const std::uint8_t* data, std::size_t size) {
  std::size_t need = 0;
  bool refused = false;
  try {
    need = DIBFileSize(data, std::min(size, DIBFileHeadBytes));
  } catch (const EInvalidGraphic&) {
    refused = true;
  } catch (const EInvalidGraphicOperation&) {
    refused = true;
  }
  if (!refused && need > MaxDIBFileBytes) std::abort();
  if (refused && size <= DIBFileHeadBytes) return;  // the whole file was judged: nothing to compare
  try {
    const TDIB whole = ReadDIBFile(data, size);
    if (refused || need > size) std::abort();
    if (need == size) return;
    const TDIB part = ReadDIBFile(data, need);
    if (part.Width != whole.Width || part.Height != whole.Height || part.BitCount != whole.BitCount ||
        part.ColorCount != whole.ColorCount || part.CompressedBits() != whole.CompressedBits())
      std::abort();
  } catch (const EInvalidGraphic&) {
    if (!refused && need <= size) std::abort();
  } catch (const EInvalidGraphicOperation&) {
    if (!refused && need <= size) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    ReadPicture(data, size);
  } catch (const EInvalidGraphic&) {
  } catch (const EInvalidGraphicOperation&) {
  }
  ReadFileByItsHead(data, size);
  return 0;
}
