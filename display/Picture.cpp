// Reading the stored form of a picture: the class-name prefix, then the class's data.
#include "display/Picture.h"

#include <cstring>
#include <string>

void TPicture::LoadFromData(const std::uint8_t* data, std::size_t size) {
  DIB.reset();
  if (size == 0) throw EInvalidGraphic("DIB is invalid");
  const std::size_t n = data[0];
  if (n + 1 > size) throw EInvalidGraphic("DIB is invalid");
  const std::string className(reinterpret_cast<const char*>(data + 1), n);
  if (className.empty()) return;
  if (className != "TDIB") throw EInvalidGraphic("Unknown picture format '" + className + "'");
  auto dib = std::make_unique<TDIB>();
  dib->LoadFromData(data + 1 + n, size - 1 - n);
  DIB = std::move(dib);
}

TDIB ReadDIBFile(const std::uint8_t* data, std::size_t size) {
  if (size >= 14 && data[0] == 'B' && data[1] == 'M') {
    TDIB dib;
    dib.LoadFromData(data + 14, size - 14);
    return dib;
  }
  TPicture picture;
  picture.LoadFromData(data, size);
  return picture.Graphic() ? *picture.Graphic() : TDIB();
}
