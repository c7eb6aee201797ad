#include "images/jpeg_reader.h"

// jpeglib.h needs FILE and size_t declared first.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "images/bmp.h"
#include "util/files.h"

namespace bvq::images {

namespace {

// More scans than any real progressive picture has; crafted files with thousands of scans
// would otherwise keep the decoder busy for minutes.
constexpr int kMaxScans = 1000;
constexpr long kMaxDecoderMemory = 1024L * 1024 * 1024;

// libjpeg reports errors by calling error_exit, which must not return. Ours jumps back to
// the setjmp in RunDecoder; between the two there are only libjpeg's C frames and these
// callbacks, never an object with a destructor.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings that mean the data is cut short or damaged end the decoding as errors; the
// decoder would otherwise fill the missing part with grey. Other warnings and trace
// messages are dropped (libjpeg would print them on stderr).
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level != -1) return;
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
      ErrorExit(cinfo);
    default:
      break;
  }
}

void ProgressMonitor(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "too many scans");
    std::longjmp(err->jump, 1);
  }
}

// Everything one decoding needs, released by the destructor in the caller's frame.
struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  jpeg_progress_mgr progress;
  bool created = false;

  Decoder() {
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&progress, 0, sizeof progress);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.message[0] = '\0';
    progress.progress_monitor = ProgressMonitor;
  }
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

enum class Step { Done, Failed, TooLarge };

// Reads the header, checks the size, then decodes into `out` (allocated by `allocate` once the
// size is known). Returns Failed after a libjpeg error, with the message in dec.err.
// `out` is written only through the pointer returned by `allocate`, which lives in the caller.
Step RunDecoder(Decoder& dec, const unsigned char* data, unsigned long size, uint8_t* (*allocate)(void*, int, int),
                void* target) {
  j_decompress_ptr cinfo = &dec.cinfo;
  if (setjmp(dec.err.jump)) return Step::Failed;
  jpeg_create_decompress(cinfo);
  dec.created = true;
  cinfo->progress = &dec.progress;
  cinfo->mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(cinfo, data, size);
  jpeg_read_header(cinfo, TRUE);
  if (!AcceptableSize(cinfo->image_width, cinfo->image_height)) return Step::TooLarge;
  cinfo->dct_method = JDCT_ISLOW;
  cinfo->do_fancy_upsampling = TRUE;
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(cinfo);
  const int width = int(cinfo->output_width), height = int(cinfo->output_height);
  const int components = cinfo->output_components;
  uint8_t* pixels = allocate(target, width, height);
  // One decoded row (RGB, or CMYK converted below); libjpeg's pool frees it.
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                               JDIMENSION(width) * JDIMENSION(components), 1);
  // Adobe files store CMYK inverted.
  const bool inverted = cinfo->saw_Adobe_marker;
  while (cinfo->output_scanline < cinfo->output_height) {
    const int y = int(cinfo->output_scanline);
    jpeg_read_scanlines(cinfo, row, 1);
    uint8_t* dst = pixels + size_t(y) * size_t(width) * 3;
    if (!cmyk) {
      std::memcpy(dst, row[0], size_t(width) * 3);
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const JSAMPLE* s = row[0] + x * 4;
      int c = s[0], m = s[1], ye = s[2], k = s[3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        ye = 255 - ye;
        k = 255 - k;
      }
      dst[x * 3] = uint8_t(c * k / 255);
      dst[x * 3 + 1] = uint8_t(m * k / 255);
      dst[x * 3 + 2] = uint8_t(ye * k / 255);
    }
  }
  jpeg_finish_decompress(cinfo);
  return Step::Done;
}

uint8_t* AllocateRgb(void* target, int width, int height) {
  auto* image = static_cast<RgbImage*>(target);
  *image = RgbImage(width, height);
  return image->pixels.data();
}

}  // namespace

bool IsJpegData(std::string_view bytes) {
  return bytes.size() >= 3 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8 && uint8_t(bytes[2]) == 0xFF;
}

Outcome<RgbImage> DecodeJpeg(std::string_view bytes) {
  if (!IsJpegData(bytes)) return Status::Fail("The file is not a JPEG picture.");
  RgbImage image;
  Decoder decoder;
  const Step step = RunDecoder(decoder, reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<unsigned long>(bytes.size()), AllocateRgb, &image);
  if (step == Step::TooLarge) return Status::Fail("The picture is too large.");
  if (step == Step::Failed) return Status::Fail(std::string("The JPEG picture is damaged (") + decoder.err.message + ").");
  return image;
}

Status JpegToBitmap(const std::string& jpegFile, const std::string& bitmapFile) {
  const auto bytes = ReadFileBytes(jpegFile);
  if (!bytes) return Status::Fail("Cannot read " + jpegFile + ".");
  auto image = DecodeJpeg(*bytes);
  if (!image) return Status::Fail(jpegFile + ": " + image.error());
  return WriteBmp24(bitmapFile, *image);
}

}  // namespace bvq::images
