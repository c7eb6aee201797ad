#include "images/picture_import.h"

#include "images/icon_file.h"
#include "images/jpeg_reader.h"
#include "images/pictures.h"
#include "platform/shell_folders.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/strings.h"

namespace bvq::images {

Outcome<ImportedPicture> ImportImage(const std::string& picked, bool convertPng, const std::string& userDataFolder) {
  const std::string source = NativePath(ExpandCurrentPath(picked));
  if (!FileExists(source)) return ImportedPicture{picked, false};
  const std::string ending = ToLowerAscii(LastFourChars(source));
  if (ending == ".bmp" || (ending == ".png" && !convertPng)) return ImportedPicture{picked, false};

  const std::string folder = userDataFolder.empty() ? UserDataFolder() : userDataFolder;
  const std::string target = UniqueNumberedFileIn(folder, "Bitmaps/Import/Bmp", "bmp");
  Status status;
  if (ending == ".ico")
    status = IconToBitmap(source, target);
  else if (ending == ".jpg" || ending == "jpeg")
    status = JpegToBitmap(source, target);
  else
    status = ImageToBitmap(source, target);
  if (!status) return status;  // the writers leave no file behind on failure
  return ImportedPicture{target, true};
}

Outcome<std::string> NormalizePicturePath(const std::string& path, const std::string& userDataFolder) {
  auto imported = ImportImage(path, false, userDataFolder);
  if (!imported) return imported.status();
  return imported->path;
}

std::string NormalizedPictureOrEmpty(const std::string& path) {
  auto converted = NormalizePicturePath(path);
  return converted ? *converted : std::string();
}

}  // namespace bvq::images
