#include "setup_build/run_build.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "setup_build/binary_file.h"
#include "setup_build/build_cancel.h"
#include "setup_build/build_inputs.h"
#include "setup_build/build_progress.h"
#include "setup_build/data_block.h"
#include "setup_build/installer_script.h"
#include "setup_build/output_paths.h"
#include "setup_build/language_side_files.h"
#include "setup_build/payload_list.h"
#include "setup_build/payload_packing.h"
#include "setup_build/certificate_table.h"
#include "setup_build/signing.h"
#include "setup_build/version_info.h"
#include "setup_build/volume_names.h"
#include "setup_build/volume_writer.h"
#include "setup_build/work_files.h"
#include "project/interface_strings.h"
#include "project/interface_text_ids.h"
#include "project/project_paths.h"
#include "resedit/replace_exe_icon.h"
#include "util/code_page.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/program_values.h"
#include "util/strings.h"

namespace bvq {
namespace {

const char* const kEmptySizeText = "0,00 Kb";
// More volumes than this come only from a volume size typed far too small.
constexpr uint64_t kMaxVolumes = 10000;

class BuildRun {
 public:
  BuildRun(const Project& project, ProjectSession& session, BuildReporter& reporter)
      : p_(project), session_(session), reporter_(reporter), progress_(reporter) {}

  BuildResult Run() {
    Log(reporter_, InterfaceString(kTextCheckingProject));
    if (auto problem = CheckBuildInputs(p_)) {
      Log(reporter_, InterfaceString(kTextBuildFailed), LogIcon::Error);
      reporter_.ReportBuildProblem(*problem);
      return result_;
    }
    Log(reporter_, InterfaceString(kTextProjectChecked));
    ResetBuildCancel();
    session_.lastVolumeIndex = 0;
    progress_.bytes = 0;
    progress_.live = true;
    reporter_.SetProgressPosition(0);
    reporter_.SetSizeText(kEmptySizeText);
    useCabinets_ = p_.compression != 0;
    try {
      Steps();
    } catch (const std::exception& e) {
      // An unexpected failure (a file that cannot be read or written, a full disk): the
      // partial setup, further volumes and work files go, so nothing looks complete.
      Log(reporter_, Utf8ToAnsi(e.what()), LogIcon::Error);  // the message names native paths
      RequestBuildCancel();
      StopIfCancelled(0);
    }
    return result_;
  }

 private:
  void Steps() {
    // A folder of this build's own inside the working folder: builds running at the same time
    // never share or empty each other's work files.
    work_ = MakePrivateWorkFolder(WorkFolder());

    // The uninstaller: the stub with the project's uninstaller icon.
    Log(reporter_, InterfaceString(kTextCreating) + ExtractFileName(NativePath(p_.uninstallerFile)) + "...");
    const std::string uninstaller = WorkFilePath(work_, kWorkUninstall);
    CopyWholeFile(ProgramFolder() + "Data/Uninstall.exe", uninstaller);
    ReplaceExeIcon(uninstaller, ResolveProjectPath(p_, p_.uninstallerIcon), "MAINICON", 0);
    Log(reporter_, InterfaceString(kTextUninstallerReady));
    // Signed before it is measured and packed, so the installed uninstaller carries the signature.
    if (p_.makeUninstaller && !SignOrStop(uninstaller, false)) return;
    // Packed with the stub's time, not the build's: rebuilding gives the same setup.
    CopyFileWriteTime(ProgramFolder() + "Data/Uninstall.exe", uninstaller);

    payload_ = CollectPayload(p_, p_.makeUninstaller ? uninstaller : std::string(), reporter_);
    if (StopIfCancelled(2)) return;

    // The setup file: the installer stub with the project's icon and version texts, written
    // under a temporary name beside the setup path and renamed into place once complete, so an
    // existing setup survives a failed build.
    if (!OutputPathsAllowed()) return;
    // Stored builds know their payload size now: too many volumes are refused before the setup
    // is begun; compressed builds check once the cabinets are packed.
    if (!useCabinets_ &&
        !VolumeCountAllowed(payload_.totalSourceSize + kStoredHeaderSize * payload_.files.size())) {
      Log(reporter_, InterfaceString(kTextBuildFailed), LogIcon::Error);
      RemovePrivateWorkFolder(work_);
      return;
    }
    const std::string finalSetup = VolumePath(p_, 0);
    Log(reporter_, InterfaceString(kTextCreating) + ExtractFileName(finalSetup) + "...");
    if (!CopyStub(finalSetup)) {
      RequestBuildCancel();
      StopIfCancelled(2);
      return;
    }
    const std::string setup = partialSetup_;
    ReplaceExeIcon(setup, ResolveProjectPath(p_, p_.installerIcon), "MAINICON", 0);
    Log(reporter_, InterfaceString(kTextSetupPrepared));
    VersionWords version;
    if (!ParseVersionNumbers(p_.productVersion, version)) version = {};
    PatchVersionInfo(setup, version,
                     {p_.companyName, p_.productName + " " + p_.productVersion + " Installation", p_.productVersion,
                      p_.companyName});
    if (StopIfCancelled(2)) return;

    // Packing.
    PackedCabinets packed;
    uint64_t payloadSize = 0;
    if (useCabinets_) {
      if (!PackPayloadCabinets(payload_, p_.compression, work_, progress_, packed)) {
        StopIfCancelled(2);
        return;
      }
      payloadSize = packed.payloadSize;
    } else {
      payloadSize = payload_.totalSourceSize + kStoredHeaderSize * payload_.files.size();
    }
    if (StopIfCancelled(2)) return;
    if (!VolumeCountAllowed(payloadSize)) {
      RequestBuildCancel();
      StopIfCancelled(0);
      return;
    }

    // The installer script, appended behind the stub.
    Log(reporter_, InterfaceString(kTextWritingScript));
    const std::vector<BuildLanguage> languages = BuildLanguages(p_);
    ScriptPayload scriptPayload{&payload_, useCabinets_, packed.cabinets.size(),
                                packed.cabinets.empty() ? 0 : static_cast<uint64_t>(FileSize64(packed.cabinets.back()))};
    const std::string script = EncodeInstallerScript(InstallerScriptValues(p_, scriptPayload, languages));
    Log(reporter_, InterfaceString(kTextScriptReady));
    BinaryFile out(setup, BinaryFile::Mode::ReadWrite);
    SetupTrailer trailer;
    trailer.scriptStart = out.Size();
    out.SeekToEnd();
    out.Write(script);
    trailer.dataStart = out.Size();

    // The data block.
    int sideFiles = 0;
    if (useCabinets_) {
      CabinetSideFiles cabinet(WorkFilePath(work_, kWorkData), p_.compression);
      sideFiles = AddSideFiles(p_, languages, cabinet, work_);
      if (StopIfCancelled(2)) return;
      cabinet.AppendTo(out, progress_);
    } else {
      StoredSideFiles stored(out);
      sideFiles = AddSideFiles(p_, languages, stored, work_);
      if (StopIfCancelled(2)) return;
    }
    trailer.payloadStart = out.Size();
    trailer.dataBlockSize = trailer.payloadStart - trailer.dataStart;
    trailer.cabinets = useCabinets_;
    trailer.sideFileCount = static_cast<uint8_t>(sideFiles);
    out.Close();
    Log(reporter_, InterfaceString(kTextDataBlockWritten));

    // The payload into the volumes, the trailer at the end of the first.
    VolumeLayout layout;
    layout.fixedSize = trailer.payloadStart;
    layout.payloadSize = payloadSize;
    layout.volumeSize = VolumeSize(p_);
    layout.trailer = trailer;
    layout.showWrittenSize = !useCabinets_;
    std::vector<std::string> sources;
    for (const PackedFile& f : payload_.files) sources.push_back(f.source);
    std::unique_ptr<PayloadReader> reader =
        useCabinets_ ? MakeCabinetPayloadReader(packed.cabinets) : MakeStoredPayloadReader(std::move(sources));
    int highestVolume = -1;
    VolumeResult volumes = WriteVolumes(layout, *reader, [this](int n) { return OutputVolume(n); }, progress_,
                                        highestVolume);
    reader.reset();
    if (volumes.outcome == VolumeOutcome::Cancelled) {
      StopIfCancelled(2);
      return;
    }
    if (volumes.outcome == VolumeOutcome::Inconsistent) {
      RequestBuildCancel();
      StopIfCancelled(0);
      return;
    }

    // Volume 0 is signed once complete; the installer finds its trailer before the certificates.
    if (!SignOrStop(setup, true)) return;

    // Success: the further volumes into place, the setup last.
    for (std::size_t n = 1; n <= partialVolumes_.size(); ++n)
      RenameIntoPlace(partialVolumes_[n - 1], VolumePath(p_, static_cast<int>(n)));
    partialVolumes_.clear();
    RenameIntoPlace(setup, finalSetup);
    partialSetup_.clear();
    result_.setupPath = finalSetup;
    session_.lastVolumeIndex = volumes.volumeCount - 1;
    session_.buildCurrent = true;
    result_.built = true;
    result_.volumeCount = volumes.volumeCount;
    result_.totalSize = volumes.totalSize;
    reporter_.SetProgressPosition(0);
    session_.lastSetupSizeText = SizeText(static_cast<int64_t>(volumes.totalSize));
    reporter_.SetSizeText(session_.lastSetupSizeText);
    Log(reporter_, InterfaceString(kTextRemovingWorkFiles));
    RemovePrivateWorkFolder(work_);
    Log(reporter_, InterfaceString(kTextBuildSucceeded));
  }

  // Signs `file` with the sign command, when one is set. A failing command, or a signed setup
  // whose trailer is no longer found before its certificates, logs the command's output and
  // stops the build, which removes everything it wrote. False when the build stopped.
  bool SignOrStop(const std::string& file, bool isSetup) {
    const std::string& command = SignCommand();
    if (command.empty()) return true;
    const std::string name = isSetup ? ExtractFileName(VolumePath(p_, 0)) : ExtractFileName(NativePath(p_.uninstallerFile));
    SignOutcome outcome = SignFile(command, file);
    if (outcome.signedOk && isSetup && !TrailerBeforeCertificates(file)) {
      outcome.signedOk = false;
      outcome.output += "the signed setup no longer ends with its trailer (before the certificate table)";
    }
    for (const std::string& line : SplitText("\n", outcome.output))
      if (!TrimBlanks(line).empty()) Log(reporter_, Utf8ToAnsi(line), outcome.signedOk ? LogIcon::Information : LogIcon::Error);
    if (outcome.signedOk) {
      Log(reporter_, "Signed " + name + ".");
      return true;
    }
    Log(reporter_, "The sign command failed for " + name + ".", LogIcon::Error);
    RequestBuildCancel();
    StopIfCancelled(0);
    return false;
  }

  static bool TrailerBeforeCertificates(const std::string& file) {
    uint64_t end = 0, size = 0;
    if (!ContentEndBeforeCertificates(file, end, size) || end < kSetupTrailerSize) return false;
    BinaryFile in(file, BinaryFile::Mode::Read);
    in.Seek(end - 2);
    uint8_t mark[2] = {};
    return in.Read(mark, 2) == 2 && mark[0] == kTrailerLastScriptField && mark[1] == kTrailerMark;
  }

  // Refuses, before anything is written there, a setup or volume path that is a folder, a
  // device, the project file, a file the project uses or a file of the program. False (with
  // an error line) when refused.
  bool OutputPathsAllowed() {
    std::vector<std::string> sources;
    for (const PackedFile& f : payload_.files) sources.push_back(f.source);
    const BuildInputFiles inputs = CollectBuildInputs(p_, sources);
    // Volumes beyond the first: as many as the sources could fill at most (plus one for the
    // fixed part), checked up to a bound; WriteVolumes checks every volume again as it opens it.
    const uint64_t volumeSize = VolumeSize(p_);
    const uint64_t payloadBound = payload_.totalSourceSize + kStoredHeaderSize * payload_.files.size();
    const uint64_t volumes = volumeSize == 0 ? 1 : std::min<uint64_t>(payloadBound / volumeSize + 2, kMaxVolumes);
    for (uint64_t n = 0; n < volumes; ++n) {
      const std::string path = VolumePath(p_, static_cast<int>(n));
      if (std::string why = inputs.Refusal(path); !why.empty()) {
        Log(reporter_, "The setup cannot be written to " + path + ": " + why + "; nothing was written.",
            LogIcon::Error);
        Log(reporter_, InterfaceString(kTextBuildFailed), LogIcon::Error);
        RemovePrivateWorkFolder(work_);
        result_ = BuildResult{};
        return false;
      }
    }
    inputs_ = inputs;
    return true;
  }

  // False, with an error line, when a payload of `payloadSize` bytes would fill more than
  // kMaxVolumes volumes (a volume size typed far too small).
  bool VolumeCountAllowed(uint64_t payloadSize) {
    const uint64_t volumeSize = VolumeSize(p_);
    if (volumeSize == 0 || payloadSize / volumeSize < kMaxVolumes) return true;
    Log(reporter_,
        "The volume size of " + std::to_string(volumeSize) + " bytes would split the setup into more than " +
            std::to_string(kMaxVolumes) + " volumes; choose a larger volume size. Nothing was written.",
        LogIcon::Error);
    return false;
  }

  // Path of volume n while it is written: a temporary name beside its own, which is checked as
  // before the build. Volume 0 has one already (partialSetup_); the others get theirs here.
  std::string OutputVolume(int n) {
    if (n == 0) return partialSetup_;
    const std::string path = VolumePath(p_, n);
    if (std::string why = inputs_.Refusal(path); !why.empty())
      throw FileError("The volume cannot be written to " + path + ": " + why);
    if (static_cast<std::size_t>(n) <= partialVolumes_.size()) return partialVolumes_[n - 1];
    const std::string partial = CreateFileBeside(path);
    if (partial.empty()) throw FileError("cannot create " + path + ": " + std::strerror(errno));
    partialVolumes_.push_back(partial);
    return partial;
  }

  static void RenameIntoPlace(const std::string& partial, const std::string& target) {
    if (std::rename(partial.c_str(), target.c_str()) != 0)
      throw FileError("cannot rename " + partial + " to " + target + ": " + std::strerror(errno));
  }

  // Copies the installer stub to a temporary file beside the setup path (partialSetup_);
  // false when that fails.
  bool CopyStub(const std::string& setup) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(setup).parent_path(), ec);
    try {
      partialSetup_ = CreateFileBeside(setup);
      if (partialSetup_.empty()) throw FileError("cannot create " + setup + ": " + std::strerror(errno));
      CopyWholeFile(ProgramFolder() + "Data/Install.exe", partialSetup_);
    } catch (const FileError& e) {
      Log(reporter_, Utf8ToAnsi(e.what()), LogIcon::Error);
      return false;
    }
    return true;
  }

  // Acts on the cancel request: removes what this build wrote and logs string 75 (kind 2,
  // warning) or 60 (kind 0, error). False when no cancel was requested.
  bool StopIfCancelled(int kind) {
    reporter_.ProcessEvents();
    if (!BuildCancelRequested()) return false;
    std::error_code ec;
    if (!partialSetup_.empty()) std::filesystem::remove(partialSetup_, ec);
    partialSetup_.clear();
    for (const std::string& partial : partialVolumes_) std::filesystem::remove(partial, ec);
    partialVolumes_.clear();
    RemovePrivateWorkFolder(work_);
    Log(reporter_, InterfaceString(kind == 0 ? kTextBuildFailed : kTextBuildCancelled),
        kind == 0 ? LogIcon::Error : LogIcon::Warning);
    reporter_.SetSizeText(kEmptySizeText);
    progress_.Reset();
    session_.lastVolumeIndex = 0;
    result_ = BuildResult{};
    return true;
  }

  const Project& p_;
  ProjectSession& session_;
  BuildReporter& reporter_;
  BuildProgress progress_;
  std::string work_;          // this build's private work folder
  std::string partialSetup_;  // volume 0 until it is renamed into place
  BuildInputFiles inputs_;    // files no volume may overwrite
  bool useCabinets_ = false;
  PayloadList payload_;
  std::vector<std::string> partialVolumes_;  // volumes 1, 2, ... until renamed into place
  BuildResult result_;
};

}  // namespace

BuildResult RunBuild(const Project& project, ProjectSession& session, BuildReporter& reporter) {
  return BuildRun(project, session, reporter).Run();
}

}  // namespace bvq
