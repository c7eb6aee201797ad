#pragma once
// Shared helpers of the build tests: a temporary folder, file helpers and a reporter that
// records what the build reports.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup_build/build_log.h"

namespace bvq::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bvq-build-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    path_ += "/";
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  // Folder path with a trailing "/".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Bytes 0, 1, 2, ... 250, 0, 1 ... of the given length, offset by `seed`.
inline std::string PatternBytes(size_t size, int seed = 0) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i + seed) % 251);
  return s;
}

// Bytes that do not compress (a linear congruential sequence).
inline std::string NoiseBytes(size_t size, uint32_t seed = 1) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1664525u + 1013904223u;
    s[i] = static_cast<char>(seed >> 24);
  }
  return s;
}

// Records log lines, the last size text and the progress.
class RecordingReporter : public BuildReporter {
 public:
  void AddLogLine(const LogLine& line) override {
    lines.push_back(line);
    if (onLine) onLine(lines.back());
  }
  void SetLastLogLine(const std::string& text) override {
    if (!lines.empty()) lines.back().text = text;
    lastLineUpdates.push_back(text);
    if (onLastLine) onLastLine(text);
  }
  void SetProgressMaximum(uint64_t units) override { progressMaximum = units; }
  void SetProgressPosition(uint64_t units) override { progressPosition = units; }
  void SetSizeText(const std::string& text) override { sizeText = text; }

  bool HasLine(const std::string& text) const {
    for (const auto& l : lines)
      if (l.text == text) return true;
    return false;
  }

  std::vector<LogLine> lines;
  std::vector<std::string> lastLineUpdates;
  uint64_t progressMaximum = 0, progressPosition = 0;
  std::string sizeText;
  std::function<void(const LogLine&)> onLine;
  std::function<void(const std::string&)> onLastLine;
};

}  // namespace bvq::test
