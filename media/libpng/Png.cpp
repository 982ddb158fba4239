// PNG pictures through libpng.
#include "media/Png.h"

#include <png.h>

#include <cstring>

#include "system/FileReplacement.h"

namespace {

// libpng reports a failure by calling this and never returning: the message is kept for the
// caller, then control jumps back to the setjmp of the operation.
void Fail(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error) *error = message;
  png_longjmp(png, 1);
}

void Warn(png_structp, png_const_charp) {}

// Where WritePalettizedPng writes: the file, whose own message says which file failed and why
// (a full disk, say) where libpng would only say "Write Error".
void WriteToFile(png_structp png, png_bytep data, png_size_t count) {
  if (!static_cast<TFileReplacement*>(png_get_io_ptr(png))->Write(data, count)) png_error(png, "write failed");
}

void FlushNothing(png_structp) {}

// Where DecodePng reads from: the bytes in memory, consumed front to back.
struct TMemoryInput {
  const std::uint8_t* Data;
  std::size_t Left;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* in = static_cast<TMemoryInput*>(png_get_io_ptr(png));
  if (count > in->Left) png_error(png, "the picture ends early");
  std::memcpy(out, in->Data, count);
  in->Data += count;
  in->Left -= count;
}

}  // namespace

bool WritePalettizedPng(const std::string& file, const std::uint8_t* pixels, int pitch, int width,
                        int height, const std::uint32_t palette[256], std::string& error) {
  if (!pixels || !palette || width <= 0 || height <= 0 || pitch < width) {
    error = "no frame to write";
    return false;
  }
  TFileReplacement out(file);
  if (!out.Good()) {
    error = out.Error();
    return false;
  }
  std::string reason;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &reason, Fail, Warn);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  // Made before the setjmp, so that the jump back does not skip its destruction.
  std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    error = !out.Good() ? out.Error() : "cannot write " + file + (reason.empty() ? "" : ": " + reason);
    return false;  // out removes what it wrote
  }
  png_set_write_fn(png, &out, WriteToFile, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    png_byte* to = row.data();
    for (int x = 0; x < width; ++x, to += 3) {
      std::uint32_t c = palette[from[x]];
      to[0] = static_cast<png_byte>(c >> 16);
      to[1] = static_cast<png_byte>(c >> 8);
      to[2] = static_cast<png_byte>(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (!out.Commit()) {
    error = out.Error();
    return false;
  }
  return true;
}

bool DecodePng(const std::uint8_t* data, std::size_t size, TRgbaPicture& picture,
               std::string& error, int maxSide) {
  picture = TRgbaPicture{};
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    error = "not a PNG picture";
    return false;
  }
  std::string reason;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reason, Fail, Warn);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  TMemoryInput input{data, size};
  std::vector<png_bytep> rows;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
    picture = TRgbaPicture{};
    error = "bad PNG picture" + (reason.empty() ? "" : ": " + reason);
    return false;
  }
  png_set_read_fn(png, &input, ReadFromMemory);
  png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
  png_read_info(png, info);

  // Every colour type and depth becomes 8-bit RGBA.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != png_get_image_width(png, info) * 4) {
    png_error(png, "unexpected row layout");
  }

  picture.Width = static_cast<int>(png_get_image_width(png, info));
  picture.Height = static_cast<int>(png_get_image_height(png, info));
  picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * picture.Height);
  rows.resize(picture.Height);
  for (int y = 0; y < picture.Height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(picture.Pixels.data() +
                                          static_cast<std::size_t>(y) * picture.Width);
  }
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}
