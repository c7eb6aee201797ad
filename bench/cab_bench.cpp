// Packs files into one cabinet with the cabinet writer and prints its size and the time
// taken (wall clock and processor time), for bench/cab-bench.sh.
// Usage: cab_bench none|mszip|lzx OUT.cab LISTFILE   (LISTFILE: one source path a line;
// the name inside the cabinet is the path with "/" turned into "\")
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

#include "cab/cab_writer.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: cab_bench none|mszip|lzx OUT.cab LISTFILE\n");
    return 2;
  }
  std::string kind = argv[1];
  bvq::CabWriter w;
  w.SetCompressionType(kind == "none" ? bvq::CabCompression::None : kind == "lzx" ? bvq::CabCompression::Lzx : bvq::CabCompression::MsZip);
  std::ifstream list(argv[3]);
  auto start = std::chrono::steady_clock::now();
  try {
    w.Open(argv[2]);
    std::string path;
    while (std::getline(list, path)) {
      if (path.empty()) continue;
      std::string name = path;
      std::replace(name.begin(), name.end(), '/', '\\');
      w.AddFile(path, name, false);
    }
    w.Close(true);
  } catch (const bvq::CabinetError& e) {
    std::fprintf(stderr, "cabinet error%s\n", e.what());
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  struct stat st {};
  stat(argv[2], &st);
  struct rusage ru {};
  getrusage(RUSAGE_SELF, &ru);
  double cpu = double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
               double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
  std::printf("%lld %.3f %.3f\n", (long long)st.st_size, seconds, cpu);
  return 0;
}
