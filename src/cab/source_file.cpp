#include "cab/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "util/files.h"

namespace bvq::cab {

void ToDosDateTime(int64_t unixSeconds, uint16_t& date, uint16_t& time) {
  time_t t = time_t(unixSeconds);
  struct tm tm {};
  if (!localtime_r(&t, &tm) || tm.tm_year < 80) {
    date = (1 << 5) | 1;  // 1980-01-01 00:00:00
    time = 0;
    return;
  }
  if (tm.tm_year > 207) {
    date = uint16_t((127 << 9) | (12 << 5) | 31);  // 2107-12-31 23:59:58
    time = uint16_t((23 << 11) | (59 << 5) | 29);
    return;
  }
  date = uint16_t(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  time = uint16_t((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
}

bool OpenSourceFile(const std::string& path, SourceFile& out) {
  // A source swapped for a FIFO or device must not block the build in open().
  int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    int e = errno;
    ::close(fd);
    errno = e;
    return false;
  }
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  out.fd = fd;
  out.size = uint64_t(st.st_size);
  ToDosDateTime(st.st_mtim.tv_sec, out.date, out.time);
  // A file the owner cannot write is read-only; every file is marked for archiving, as
  // a newly written file is. Linux has no hidden or system attribute.
  uint16_t attribs = kAttrArchive;
  if (!(st.st_mode & S_IWUSR)) attribs |= kAttrReadOnly;
  out.attribs = attribs & kSourceAttrMask;
  return true;
}

}  // namespace bvq::cab
