#include "platform/work_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/shell_folders.h"
#include "util/files.h"
#include "util/paths.h"

namespace bvq {

std::string DefaultWorkFolder() { return TempFolder() + "$bvq_inst-" + std::to_string(getuid()) + "/"; }

Outcome<std::string> PrepareWorkFolder(const std::string& folder) {
  auto fail = [](const std::string& why) { return Outcome<std::string>::Fail(why); };
  if (folder.empty()) return fail("no working folder given");
  std::string path = ExcludeTrailingSeparator(NativePath(folder));
  std::string parent = ExtractFilePath(path);
  if (!parent.empty() && !ForceDirectories(parent))
    return fail("cannot create the folder " + parent + ": " + std::strerror(errno));
  bool created = mkdir(path.c_str(), 0700) == 0;
  if (!created && errno != EEXIST) return fail("cannot create the working folder " + path + ": " + std::strerror(errno));
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return fail("cannot examine the working folder " + path + ": " + std::strerror(errno));
  if (S_ISLNK(st.st_mode)) return fail("the working folder " + path + " is a symbolic link; refusing to use it");
  if (!S_ISDIR(st.st_mode)) return fail("the working folder " + path + " exists and is not a folder");
  if (st.st_uid != getuid()) return fail("the working folder " + path + " belongs to another account; refusing to use it");
  // Work files carry the project's sources; whether the folder is the default one in a shared
  // temporary folder or one chosen in the settings, it is kept private to this account.
  if (!created && (st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0)
    return fail("cannot restrict the working folder " + path + ": " + std::strerror(errno));
  if (access(path.c_str(), W_OK | X_OK) != 0) return fail("the working folder " + path + " is not writable");
  return path + "/";
}

}  // namespace bvq
