// TPicture, the stored picture of an image: a graphic of a named picture class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/DIB.h"

// The picture an image keeps, as stored in the form: one byte with the length of the picture
// class name, the name, then that class's own data. The only class stored is "TDIB". An empty
// class name stands for no picture at all.
class TPicture {
 public:
  // Reads stored Picture.Data. Throws EInvalidGraphic for data that is not a known picture.
  // maxPixelBytes is the bitmap's memory limit (see TDIB::LoadFromData).
  void LoadFromData(const std::uint8_t* data, std::size_t size, std::size_t maxPixelBytes = TDIB::MaxPixelBytes);

  // The graphic, or nullptr when the picture holds none.
  const TDIB* Graphic() const { return DIB.get(); }
  bool HasGraphic() const { return DIB && !DIB->Empty(); }
  int Width() const { return DIB ? DIB->Width : 0; }
  int Height() const { return DIB ? DIB->Height : 0; }

 private:
  std::unique_ptr<TDIB> DIB;
};

// Reads a picture from a file's bytes: a .bmp (starting with its 14-byte file header "BM...")
// or stored Picture.Data. Throws like TPicture::LoadFromData.
TDIB ReadDIBFile(const std::uint8_t* data, std::size_t size);

// Enough of a file's first bytes for DIBFileSize to judge it: the longest class-name prefix and
// everything before the pixels.
inline constexpr std::size_t DIBFileHeadBytes = 1 + 255 + TDIB::MaxHeaderBytes;
// The longest file ReadDIBFile can take: a .bmp file header and the largest bitmap data.
inline constexpr std::size_t MaxDIBFileBytes = 14 + TDIB::MaxHeaderBytes + TDIB::MaxPixelBytes;

// How many bytes of a file ReadDIBFile reads (at most MaxDIBFileBytes), judged from its first
// DIBFileHeadBytes bytes (or all of a shorter file). Throws as ReadDIBFile does when these bytes
// already refuse the file, so a caller reads no further than the first bytes that decide.
std::size_t DIBFileSize(const std::uint8_t* data, std::size_t size);

// Registers every picture of assets/images as the resource "pictures/<Name>", holding its stored
// picture data. Defined by the build (cmake/EmbedPictures.cmake).
void RegisterPictureResources();
