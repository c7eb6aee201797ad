#include "images/image_library.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/types.h>

#include <magick/api.h>

namespace bvq::images {

namespace {

// The library's default handlers print to stderr; its results are reported through our own
// values instead.
void QuietHandler(const ExceptionType, const char*, const char*) {}

void InitializeLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    ExceptionInfo exception;
    GetExceptionInfo(&exception);
    // No signal handlers: the program (and sanitizers, debuggers) keep their own.
    InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
    DestroyExceptionInfo(&exception);
    SetErrorHandler(QuietHandler);
    SetWarningHandler(QuietHandler);
    // The same size limits as our own decoders; pixels stay in memory, never in disk caches.
    SetMagickResourceLimit(PixelsResource, int64_t(kMaxPixels));
    SetMagickResourceLimit(WidthResource, kMaxDimension);
    SetMagickResourceLimit(HeightResource, kMaxDimension);
    SetMagickResourceLimit(MemoryResource, int64_t(1) << 30);
    SetMagickResourceLimit(MapResource, int64_t(1) << 30);
    SetMagickResourceLimit(DiskResource, 0);
  });
}

const char* CoderName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Gif: return "GIF";
    case PictureFormat::Tiff: return "TIFF";
    default: return nullptr;
  }
}

std::string Describe(const ExceptionInfo& exception) {
  std::string text = exception.reason ? exception.reason : "unknown error";
  if (exception.description) text += std::string(" (") + exception.description + ")";
  return text;
}

// Owners of the library's objects, released on every path.
struct ImageInfoOwner {
  ImageInfo* info = CloneImageInfo(nullptr);
  ~ImageInfoOwner() { if (info) DestroyImageInfo(info); }
};
struct ImageListOwner {
  Image* image = nullptr;
  ~ImageListOwner() { if (image) DestroyImageList(image); }
};
struct ExceptionOwner {
  ExceptionInfo exception;
  ExceptionOwner() { GetExceptionInfo(&exception); }
  ~ExceptionOwner() { DestroyExceptionInfo(&exception); }
};

}  // namespace

Outcome<RgbaImage> DecodeWithLibrary(std::string_view bytes, PictureFormat format) {
  const char* coder = CoderName(format);
  if (coder == nullptr) return Status::Fail("The picture format is not supported.");
  if (bytes.empty()) return Status::Fail("The picture file is empty.");
  InitializeLibrary();

  ImageInfoOwner info;
  if (info.info == nullptr) return Status::Fail("Out of memory.");
  // Name the coder explicitly so the library never guesses another format from the content.
  std::snprintf(info.info->magick, sizeof info.info->magick, "%s", coder);
  info.info->affirm = MagickTrue;
  info.info->subimage = 0;
  info.info->subrange = 1;

  ExceptionOwner error;
  ImageListOwner list;
  list.image = BlobToImage(info.info, bytes.data(), bytes.size(), &error.exception);
  // A damaged file may still give a partial picture with a "corrupt image" warning: that is a
  // failure too, like an error.
  if (error.exception.severity >= ErrorException || error.exception.severity == CorruptImageWarning)
    return Status::Fail("The picture is damaged or cannot be read: " + Describe(error.exception) + ".");
  if (list.image == nullptr) return Status::Fail("The picture cannot be read.");

  Image* image = list.image;
  if (!AcceptableSize(image->columns, image->rows)) return Status::Fail("The picture is too large.");
  if (image->colorspace != RGBColorspace && !TransformColorspace(image, RGBColorspace))
    return Status::Fail("The picture's colours cannot be converted.");
  RgbaImage out(int(image->columns), int(image->rows));
  if (!DispatchImage(image, 0, 0, image->columns, image->rows, "RGBA", CharPixel, out.pixels.data(),
                     &error.exception))
    return Status::Fail("The picture cannot be read: " + Describe(error.exception) + ".");
  return out;
}

}  // namespace bvq::images
