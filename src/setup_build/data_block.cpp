#include "setup_build/data_block.h"

#include "setup_build/copy_block.h"
#include "setup_build/rich_text_conversion.h"
#include "setup_build/work_files.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/program_values.h"

namespace bvq {

std::string SideFileName(int n) { return "$inst\\" + std::to_string(n) + ".tmp"; }

void StoredSideFiles::AddSideFile(const std::string& source, const std::string& name) {
  BinaryFile in(source, BinaryFile::Mode::Read);
  const uint64_t size = in.Size();
  std::string head = name;
  head.push_back('\0');
  head += std::to_string(size);
  head.push_back('\0');
  setup_.Write(head);
  std::vector<char> buffer(kCopyPieceSize);
  uint64_t left = size;
  while (left > 0) {
    size_t n = in.Read(buffer.data(), static_cast<size_t>(std::min<uint64_t>(buffer.size(), left)));
    if (n == 0) throw FileError("file became shorter while it was read: " + source);
    setup_.Write(buffer.data(), n);
    left -= n;
  }
}

int AddSideFiles(const Project& p, const std::vector<BuildLanguage>& languages, SideFileSink& sink,
                 const std::string& workFolder) {
  int count = 0;
  auto add = [&](const std::string& source, int number) {
    sink.AddSideFile(source, SideFileName(number));
    ++count;
  };
  const std::string data = ProgramFolder() + "Data/";
  if (!p.silentInstall) {
    if (p.showHeaderPicture) add(ResolveProjectPath(p, p.headerPicture), 4);
    if (p.showLogo) add(ResolveProjectPath(p, p.logoPicture), 5);
    if (p.showBackground && p.BackgroundIsPicture()) add(ResolveProjectPath(p, p.backgroundPicture), 6);
    if (p.showInstallFolderPage) add(data + "Folder.png", 7);
    bool groupShortcut = false;
    for (const EntryRow& row : p.shortcuts.Rows) groupShortcut |= row.Caption != InterfaceString(kTextPlaceStartMenu);
    if (p.showShortcutsPage && groupShortcut) add(data + "Group.png", 8);
    if (p.askPassword) add(data + "Password.png", 9);
  }
  // Texts: the shared one (an empty document when its file is missing), then each
  // language's own file under the number the installer script gives it.
  auto addTexts = [&](const std::vector<std::string>& files, int sharedNumber, int work, bool license) {
    const std::string target = WorkFilePath(workFolder, work);
    std::string shared = files.empty() ? std::string() : files[0];
    const std::string sharedSource = ProjectFileExists(p, shared) ? ResolveProjectPath(p, shared) : std::string();
    ConvertToRichTextFile(sharedSource, target, AnsiCodePage());
    // The converted text carries its source's time (an empty document the installer stub's),
    // never the time of the build.
    CopyFileWriteTime(sharedSource.empty() ? data + "Install.exe" : sharedSource, target);
    add(target, sharedNumber);
    for (const BuildLanguage& lang : languages) {
      const std::string& file = license ? lang.licenseFile : lang.infoFile;
      int number = license ? lang.licenseNumber : lang.infoNumber;
      if (number == 0) continue;
      ConvertToRichTextFile(file, target, AnsiCodePage());
      CopyFileWriteTime(file, target);
      add(target, number);
    }
  };
  if (p.showLicense) addTexts(p.licenseFiles, 15, kWorkLicense, true);
  if (p.showInformation) addTexts(p.infoFiles, 16, kWorkReadme, false);
  return count;
}

}  // namespace bvq
