// Reading the stored form of a picture: the class-name prefix, then the class's data.
#include "display/Picture.h"

#include <cstring>
#include <string>

namespace {

bool IsBmpFile(const std::uint8_t* data, std::size_t size) { return size >= 14 && data[0] == 'B' && data[1] == 'M'; }

// Where the bitmap data of stored picture data starts, after its class name; npos when the name
// is empty (no picture). Throws EInvalidGraphic for data that is not a known picture.
std::size_t StoredDataStart(const std::uint8_t* data, std::size_t size) {
  if (size == 0) throw EInvalidGraphic("DIB is invalid");
  const std::size_t n = data[0];
  if (n + 1 > size) throw EInvalidGraphic("DIB is invalid");
  const std::string className(reinterpret_cast<const char*>(data + 1), n);
  if (className.empty()) return std::string::npos;
  if (className != "TDIB") throw EInvalidGraphic("Unknown picture format '" + className + "'");
  return 1 + n;
}

}  // namespace

void TPicture::LoadFromData(const std::uint8_t* data, std::size_t size, std::size_t maxPixelBytes) {
  DIB.reset();
  const std::size_t start = StoredDataStart(data, size);
  if (start == std::string::npos) return;
  auto dib = std::make_unique<TDIB>();
  dib->LoadFromData(data + start, size - start, maxPixelBytes);
  DIB = std::move(dib);
}

TDIB ReadDIBFile(const std::uint8_t* data, std::size_t size) {
  if (IsBmpFile(data, size)) {
    TDIB dib;
    dib.LoadFromData(data + 14, size - 14);
    return dib;
  }
  TPicture picture;
  picture.LoadFromData(data, size);
  return picture.Graphic() ? *picture.Graphic() : TDIB();
}

std::size_t DIBFileSize(const std::uint8_t* data, std::size_t size) {
  if (IsBmpFile(data, size)) return 14 + TDIB::DataSize(data + 14, size - 14);
  const std::size_t start = StoredDataStart(data, size);
  if (start == std::string::npos) return 1;
  return start + TDIB::DataSize(data + start, size - start);
}
