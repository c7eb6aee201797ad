#pragma once
// Turning a picked picture into a file the project and the build can use: bitmaps are kept,
// PNG files are kept unless asked otherwise, everything else becomes a new bitmap file
// "Bitmaps/Import/BmpNNN.bmp" under the user's data folder.
#include <string>

#include "util/outcome.h"

namespace bvq::images {

struct ImportedPicture {
  std::string path;        // the text to store in the project
  bool converted = false;  // a new bitmap file was written at `path`
};

// `ImportImage`(picked file, convert PNG too). The picked text is looked up after
// "%CURRENT_PATH%" is expanded; when no such file exists, or it ends in ".bmp" (or ".png"
// while PNG is kept; compared without regard to case), the picked text is the result.
// Otherwise ".ico" goes through IconToBitmap, ".jpg" and "jpeg" through JpegToBitmap and
// anything else through ImageToBitmap into the next free numbered bitmap. A picture that
// cannot be converted is a failure with the reason, and no file is left behind: the project
// never names a bitmap that was not written.
// `userDataFolder` empty means the user's data folder of the platform.
Outcome<ImportedPicture> ImportImage(const std::string& picked, bool convertPng,
                                     const std::string& userDataFolder = {});

// The picture step of project normalisation, for the header and logo picture settings: a
// setting that names an existing file other than a bitmap or PNG is converted (ImportImage
// without PNG conversion). Gives the text the setting should hold (unchanged when nothing is
// to do), or the reason the conversion failed (the setting should then stay as it is).
Outcome<std::string> NormalizePicturePath(const std::string& path, const std::string& userDataFolder = {});
// The same as a ProjectContext::ImportPicture callback: the text to hold, or "" when the
// conversion failed.
std::string NormalizedPictureOrEmpty(const std::string& path);

}  // namespace bvq::images
