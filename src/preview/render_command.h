#pragma once
// `--render-preview PROJECT.bvq OUTDIR`: the installer's looks saved as pictures, without a
// window (Qt's offscreen platform unless another one is chosen).
#include <string>

namespace bvq::preview {

// Writes OUTDIR/background.png (1024 x 768), header.png (497 x 60) and logo.png (166 x 316).
// Each file is written whole or not at all. Returns 0 when all three were written, 2 when
// the project cannot be read, 1 when a picture could not be made or written (the message
// goes to standard error; the others are still written).
int RenderPreviewFiles(const std::string& projectPath, const std::string& outputFolder);

// The same from main(): makes the Qt application the drawing needs first.
int RunRenderPreview(int argc, char** argv, const std::string& projectPath, const std::string& outputFolder);

}  // namespace bvq::preview
