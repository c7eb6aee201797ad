// libFuzzer target over every picture decoder: the input is a picture file as a user might
// pick it. Each decoder must give a picture or a failure, never crash, hang or leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "images/bmp.h"
#include "images/icon_file.h"
#include "images/pictures.h"

using namespace bvq::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // By content, as ImageToBitmap and the previews read pictures (BMP, PNG, JPEG, Photoshop,
  // icons by our readers; GIF and TIFF by the image library).
  auto picture = DecodePicture(bytes);
  if (picture && (picture->pixels.size() != size_t(picture->width) * size_t(picture->height) * 4)) __builtin_trap();
  // Icons: every image, and the choice the main window's preview makes.
  if (auto icon = ParseIconFile(bytes)) {
    for (const IconImage& image : icon->images) (void)DecodeIconImage(image);
    (void)ChooseIconImage(*icon, 32, 32);
  }
  // Icon images in DIB form, without the .ico wrapper.
  (void)DecodeIconDib(bytes);
  return 0;
}
