#include "images/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <cstring>

namespace bvq::images {

namespace {

// libpng reports a fatal error by calling the error function, which must not return. Ours
// jumps back to the setjmp in RunDecoder; between the two there are only libpng's C frames and
// these callbacks, never an object with a destructor. Warnings are dropped (libpng would print
// them on stderr).
struct ReadState {
  std::string_view bytes;
  size_t position = 0;
  char message[256] = {};
};

[[noreturn]] void OnError(png_structp png, png_const_charp text) {
  auto* state = static_cast<ReadState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", text ? text : "error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
  if (count > state->bytes.size() - state->position) png_error(png, "the file is cut short");
  std::memcpy(out, state->bytes.data() + state->position, count);
  state->position += count;
}

// Everything one decoding needs, released by the destructor in the caller's frame.
struct Decoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ReadState state;
  ~Decoder() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

enum class Step { Done, Failed, TooLarge };

// Reads the header, checks the size, then decodes into the RGBA rows that `allocate` provides
// once the size is known (owned by the caller, so nothing here needs destroying on a jump).
Step RunDecoder(Decoder& dec, uint8_t* (*allocate)(void*, int, int), void* target) {
  png_structp png = dec.png;
  png_infop info = dec.info;
  if (setjmp(png_jmpbuf(png))) return Step::Failed;
  png_set_read_fn(png, &dec.state, ReadFromMemory);
  png_set_user_limits(png, kMaxDimension, kMaxDimension);
  png_set_chunk_malloc_max(png, 16u << 20);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (!AcceptableSize(width, height)) return Step::TooLarge;
  const int colorType = png_get_color_type(png, info);
  // Everything becomes 8-bit RGBA; stored values are kept as they are (no gamma correction,
  // as bitmaps and the installer's pictures have none).
  png_set_scale_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) png_error(png, "unexpected row layout");
  uint8_t* pixels = allocate(target, int(width), int(height));
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, pixels + size_t(y) * width * 4, nullptr);
  png_read_end(png, nullptr);
  return Step::Done;
}

uint8_t* AllocateRgba(void* target, int width, int height) {
  auto* image = static_cast<RgbaImage*>(target);
  *image = RgbaImage(width, height);
  return image->pixels.data();
}

}  // namespace

bool IsPngData(std::string_view bytes) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

Outcome<RgbaImage> DecodePng(std::string_view bytes) {
  if (!IsPngData(bytes)) return Status::Fail("The file is not a PNG picture.");
  Decoder dec;
  dec.state.bytes = bytes;
  dec.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &dec.state, OnError, OnWarning);
  if (dec.png == nullptr) return Status::Fail("Out of memory.");
  dec.info = png_create_info_struct(dec.png);
  if (dec.info == nullptr) return Status::Fail("Out of memory.");
  RgbaImage image;
  const Step step = RunDecoder(dec, AllocateRgba, &image);
  if (step == Step::TooLarge) return Status::Fail("The picture is too large.");
  if (step == Step::Failed) return Status::Fail(std::string("The PNG picture is damaged (") + dec.state.message + ").");
  return image;
}

}  // namespace bvq::images
