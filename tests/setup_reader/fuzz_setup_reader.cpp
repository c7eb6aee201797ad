// libFuzzer target: the setup reader over arbitrary bytes. The input is the setup file; its
// first byte chooses whether it is read as a single file or with a second volume made of the
// input's second half. Every file is decoded and extracted into a folder, which must then
// hold nothing outside it (the reader refuses what it cannot place inside).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "setup_reader/setup_extract.h"
#include "setup_reader/setup_reader.h"
#include "setup_reader/setup_report.h"

namespace {

std::string Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/bvq-fuzz-reader-XXXXXX";
    return std::string(mkdtemp(pattern)) + "/";
  }();
  return folder;
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  const std::string folder = Folder();
  const std::string setup = folder + "Setup.exe";
  const bool split = size > 1 && (data[0] & 1);
  Write(setup, data, split ? size / 2 : size);
  std::error_code ec;
  fs::remove(folder + "disk2.pak", ec);
  if (split) Write(folder + "disk2.pak", data + size / 2, size - size / 2);
  bvq::SetupReader reader;
  const bvq::SetupContents& contents = reader.Read(setup);
  (void)bvq::SetupReportText(contents);
  (void)bvq::SetupReportJson(contents);
  if (contents.verdict == bvq::SetupVerdict::Whole) {
    const std::string out = folder + "x/";
    fs::remove_all(out, ec);
    bvq::ExtractSetup(reader, out, true);
    // Whatever was written lies below out/.
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) {
      const std::string p = entry.path().string();
      if (p != setup && p != folder + "disk2.pak" && p.rfind(out, 0) != 0 && p + "/" != out) __builtin_trap();
    }
  }
  return 0;
}
