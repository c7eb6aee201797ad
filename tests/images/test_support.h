#pragma once
// Shared helpers of the picture tests: a scratch folder, running the image tools that make
// fixtures, and reading pixels back through a decoder we did not write (ImageMagick).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "images/pixels.h"

namespace bvq::images::fixtures {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "bvq-images-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) std::abort();
    path_ = buffer.data();
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (fs::path(path_) / name).string(); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a shell command; true when it exits with status 0.
inline bool RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Standard output of a shell command.
inline std::string Capture(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return out;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

// Makes a picture with GraphicsMagick's command-line tool (`args` are its convert arguments).
inline void MakePicture(const std::string& args) {
  ASSERT_TRUE(RunTool("gm convert " + args)) << "gm convert " << args;
}
// Makes a picture with ImageMagick (for variants GraphicsMagick does not write).
inline void MakePictureIM(const std::string& args) {
  ASSERT_TRUE(RunTool("convert " + args)) << "convert " << args;
}

// The first image of a file as ImageMagick decodes it: 8-bit RGBA.
inline RgbaImage ReferencePixels(const std::string& path) {
  RgbaImage image;
  const std::string size = Capture("identify -format '%w %h' " + Quote(path + "[0]"));
  std::istringstream in(size);
  in >> image.width >> image.height;
  image.pixels.clear();
  const std::string raw = Capture("convert " + Quote(path + "[0]") + " -depth 8 rgba:-");
  image.pixels.assign(raw.begin(), raw.end());
  return image;
}

// Largest difference of any channel between two pictures of the same size; 256 when the sizes
// differ.
inline int MaxDifference(const RgbaImage& a, const RgbaImage& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 256;
  int worst = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) worst = std::max(worst, std::abs(int(a.pixels[i]) - int(b.pixels[i])));
  return worst;
}

inline RgbaImage ToRgba(const RgbImage& image) {
  RgbaImage out(image.width, image.height);
  for (size_t i = 0; i < size_t(image.width) * size_t(image.height); ++i) {
    for (int c = 0; c < 3; ++c) out.pixels[i * 4 + c] = image.pixels[i * 3 + c];
    out.pixels[i * 4 + 3] = 255;
  }
  return out;
}

}  // namespace bvq::images::fixtures
