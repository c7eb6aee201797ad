// libFuzzer target: the input is a PE file. It is opened for a resource update, its icon group
// "MAINICON" is replaced, the section is written back and the result is opened again; then an
// icon group is extracted. Nothing may crash, and a file the editor wrote must open again.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>

#include "resedit/icon_group.h"

namespace {

std::string g_dir;

void WriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A small .ico: 16 x 16 and 40 x 40, 32-bit, plus one image larger than 32768 bytes (kept in
// a temporary file by the editor).
std::string MakeIco() {
  std::string header, images;
  auto put16 = [](std::string& s, uint32_t v) { s += char(v & 0xFF), s += char((v >> 8) & 0xFF); };
  auto put32 = [&](std::string& s, uint32_t v) { put16(s, v & 0xFFFF), put16(s, v >> 16); };
  const int sizes[] = {16, 40, 96};
  put16(header, 0), put16(header, 1), put16(header, 3);
  for (int n : sizes) {
    std::string image;
    put32(image, 40), put32(image, n), put32(image, 2 * n), put16(image, 1), put16(image, 32);
    image.append(24, '\0');
    image.append(static_cast<size_t>(n * n * 4 + (n + 31) / 32 * 4 * n), '\x5A');
    header += char(n), header += char(n), header += '\0', header += '\0';
    put16(header, 1), put16(header, 32), put32(header, static_cast<uint32_t>(image.size()));
    put32(header, static_cast<uint32_t>(6 + 16 * 3 + images.size()));
    images += image;
  }
  return header + images;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/bvq-fuzz-resedit-XXXXXX";
  if (access("/dev/shm", W_OK) == 0) std::snprintf(pattern, sizeof pattern, "/dev/shm/bvq-fuzz-res-XXXXXX");
  g_dir = mkdtemp(pattern);
  setenv("TMPDIR", g_dir.c_str(), 1);
  std::atexit([] {
    for (const char* name : {"/input.exe", "/icon.ico", "/out.ico"}) unlink((g_dir + name).c_str());
    rmdir(g_dir.c_str());
  });
  const std::string ico = MakeIco();
  WriteFile(g_dir + "/icon.ico", ico.data(), ico.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string exe = g_dir + "/input.exe";
  WriteFile(exe, data, size);
  if (bvq::ResourceUpdate* u = bvq::BeginResourceUpdate(exe, false)) {
    bvq::GetIconGroupName(u, 0);
    bvq::FindResourceEntry(u, bvq::kRtVersion, 1, 0, nullptr, nullptr);
    bvq::LoadIconGroupFromIco(u, "MAINICON", 0, g_dir + "/icon.ico");
    if (bvq::EndResourceUpdate(u, false)) {
      bvq::ResourceUpdate* again = bvq::BeginResourceUpdate(exe, false);
      if (!again) abort();  // the editor wrote a file it cannot read
      bvq::EndResourceUpdate(again, true);
    }
  }
  bvq::ExtractIconGroupToIco(exe, 0, g_dir + "/out.ico");
  return 0;
}
