// Load and save of projects with 1,000 / 10,000 / 100,000 file entries. Prints the time of
// each and the ratio to the next smaller size: linear work gives ratios near 10.
// Usage: project_bench [FOLDER]   (default: a temporary folder)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "project/new_project.h"
#include "project/project.h"
#include "project/project_file.h"
#include "util/program_values.h"

using Clock = std::chrono::steady_clock;

static double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int main(int argc, char** argv) {
  const std::filesystem::path folder =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path() / "bvq-project-bench";
  std::filesystem::create_directories(folder);
  bvq::SetProgramFolder(folder.string() + "/");
  bvq::ProjectContext context;
  double lastSave = 0, lastLoad = 0;
  std::printf("%10s %12s %10s %10s %10s %10s\n", "entries", "file bytes", "save s", "ratio", "load s", "ratio");
  for (int entries : {1000, 10000, 100000}) {
    bvq::Project project;
    bvq::ProjectSession session(project);
    project.SetInstallLanguages({"English"});
    bvq::NewProject(project, session, context);
    for (int i = 0; i < entries; ++i)
      project.files.AppendCells({"C:\\Source\\Product\\bin\\file" + std::to_string(i) + ".dll",
                                 "%InstallPath%\\bin\\file" + std::to_string(i) + ".dll", "Replace", "Yes"});
    const std::string path = (folder / ("bench" + std::to_string(entries) + ".bvq")).string();
    auto start = Clock::now();
    if (!bvq::SaveProject(project, session, path, context)) return 1;
    const double save = Seconds(start);
    bvq::Project loaded;
    bvq::ProjectSession loadedSession(loaded);
    loaded.SetInstallLanguages({"English"});
    start = Clock::now();
    const auto result = bvq::LoadProject(loaded, loadedSession, path, context);
    const double load = Seconds(start);
    if (!result || loaded.files.size() != static_cast<std::size_t>(entries)) return 1;
    std::printf("%10d %12ju %10.4f %10.2f %10.4f %10.2f\n", entries,
                static_cast<uintmax_t>(std::filesystem::file_size(path)), save, lastSave ? save / lastSave : 0.0,
                load, lastLoad ? load / lastLoad : 0.0);
    lastSave = save;
    lastLoad = load;
    std::filesystem::remove(path);
  }
  if (argc <= 1) std::filesystem::remove_all(folder);
  return 0;
}
